#pragma once

#include "GlazeCore/library/MaterialLibrary.h"

#include <string>
#include <unordered_map>

namespace GlazeCore {

/// Custom materials laid over another library, which it holds as its own copy.
///
/// A custom material takes the place of a base material with the same id in both lookups. When custom
/// materials repeat an id, all() lists each of them and material(id) answers the last.
class LayeredLibrary final : public MaterialLibrary {
public:
    LayeredLibrary(std::vector<Material> custom, const MaterialLibrary& base);
    LayeredLibrary(const LayeredLibrary& other);
    LayeredLibrary& operator=(const LayeredLibrary& other);
    LayeredLibrary(LayeredLibrary&&) = default;
    LayeredLibrary& operator=(LayeredLibrary&&) = default;

    const std::vector<Material>& custom() const { return m_custom; }
    const MaterialLibrary& base() const { return *m_base; }

    const Material* material(std::string_view id) const override;
    /// The custom materials in their order, then the base materials whose id no custom material has.
    const std::vector<Material>& all() const override { return m_all; }
    std::unique_ptr<MaterialLibrary> clone() const override { return std::make_unique<LayeredLibrary>(*this); }

private:
    std::vector<Material> m_custom;
    std::unique_ptr<MaterialLibrary> m_base;
    /// Canonical id → index into m_custom.
    std::unordered_map<std::string, std::size_t> m_customByID;
    std::vector<Material> m_all;
};

} // namespace GlazeCore
