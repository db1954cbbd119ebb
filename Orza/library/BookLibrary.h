#pragma once

#include "GlazeCore/library/MaterialLibrary.h"

#include <QString>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Orza {

/**
 * The material library of one open book: its custom materials laid over the built-in ones. An immutable
 * snapshot, built wherever a view needs one and handed down by value; nothing caches it. The built-in
 * list is loaded once per process, and a failed load is kept, not retried.
 *
 * Lookup answers only materials whose analysis is valid, so a calculation treats an invalid one like an
 * unknown id; the listing keeps them, so they can still be chosen and named.
 */
class BookLibrary final : public GlazeCore::MaterialLibrary {
public:
    using Index = std::unordered_map<std::string, GlazeCore::Material>;

    /// The built-in materials, or the error of their one load.
    struct BundledOutcome {
        std::vector<GlazeCore::Material> materials;
        std::exception_ptr error;
        std::string errorDescription;
    };

    explicit BookLibrary(std::vector<GlazeCore::Material> custom);

    /// Exact id match; null for an unknown id and for a material whose analysis is not valid.
    const GlazeCore::Material* material(std::string_view id) const override;
    /// The custom materials in book order, then the built-in ones that no custom material overrides.
    const std::vector<GlazeCore::Material>& all() const override { return m_all; }
    std::unique_ptr<GlazeCore::MaterialLibrary> clone() const override { return std::make_unique<BookLibrary>(*this); }

    const std::vector<GlazeCore::Material>& bundled() const { return *m_bundled; }
    const std::vector<GlazeCore::Material>& custom() const { return m_custom; }
    /// Every material by id; a custom material replaces a built-in one, the last custom one wins.
    const Index& index() const { return m_index; }

    /// Loads the built-in list on first use; the same outcome for the rest of the process.
    static const BundledOutcome& bundledMaterials();
    /// The sentence to show when the built-in list did not load, else none.
    static std::optional<QString> bundledLoadProblem();

private:
    std::shared_ptr<const std::vector<GlazeCore::Material>> m_bundled;
    std::vector<GlazeCore::Material> m_custom;
    Index m_index;
    std::vector<GlazeCore::Material> m_all;
};

/// The name shown for a material id: "Choose material" for the empty id, the material's name (valid or
/// not), or "Unknown material (" + id + ")".
QString materialDisplayName(const std::string& id, const BookLibrary::Index& index);

} // namespace Orza
