#pragma once

#include "GlazeCore/library/MaterialLibrary.h"
#include "GlazeCore/library/OxideTable.h"

#include <filesystem>
#include <string>
#include <unordered_map>

namespace GlazeCore {

/// The built-in materials, the entries of the bundle's `materials.json` in file order.
///
/// Duplicated ids stay in all(); material(id) answers the first of them.
class BundledLibrary final : public MaterialLibrary {
public:
    explicit BundledLibrary(std::vector<Material> all);

    /// Reads `materials.json` again on every call (the application keeps the first outcome itself), then
    /// makes sure the process-wide oxide table is loaded. Throws, in this order of checks:
    /// GlazeError::resourceMissing("materials.json"), the read's std::system_error, the JsonReadError of a
    /// malformed file, then the oxide table's kept error, so a sound materials.json without oxides fails too.
    static BundledLibrary load();
    /// load() over a given bundle folder and oxide table; the seam tests use.
    static BundledLibrary loadFrom(const std::filesystem::path& bundle, const OxideTable::OnceLoad& oxides);

    const Material* material(std::string_view id) const override;
    const std::vector<Material>& all() const override { return m_all; }
    std::unique_ptr<MaterialLibrary> clone() const override { return std::make_unique<BundledLibrary>(*this); }

private:
    std::vector<Material> m_all;
    /// Canonical id → index into m_all.
    std::unordered_map<std::string, std::size_t> m_byID;
};

} // namespace GlazeCore
