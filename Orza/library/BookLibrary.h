#pragma once

#include "GlazeCore/library/LayeredLibrary.h"

#include <QString>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Orza {

/**
 * The material library of one open book: its custom materials laid over the built-in ones, with ids
 * matched by canonical equivalence as everywhere in the book. An immutable value; the document builds one
 * when the book's custom materials change and every view of the window shares it. The built-in list is
 * loaded once per process, and a failed load is kept, not retried.
 *
 * Lookup answers only materials whose analysis is valid, so a calculation treats an invalid one like an
 * unknown id; the listing keeps them, so they can still be chosen and named.
 */
class BookLibrary final : public GlazeCore::MaterialLibrary {
public:
    /// The built-in materials, or the error of their one load.
    struct BundledOutcome {
        std::vector<GlazeCore::Material> materials;
        std::exception_ptr error;
        std::string errorDescription;
    };

    explicit BookLibrary(std::vector<GlazeCore::Material> custom);

    /// Null for an unknown id and for a material whose analysis is not valid.
    const GlazeCore::Material* material(std::string_view id) const override;
    /// The material with this id, valid or not; a custom one before a built-in one.
    const GlazeCore::Material* find(std::string_view id) const { return m_layered.material(id); }
    /// The custom materials in book order, then the built-in ones that no custom material overrides.
    const std::vector<GlazeCore::Material>& all() const override { return m_layered.all(); }
    std::unique_ptr<GlazeCore::MaterialLibrary> clone() const override { return std::make_unique<BookLibrary>(*this); }

    const std::vector<GlazeCore::Material>& bundled() const { return bundledMaterials().materials; }
    const std::vector<GlazeCore::Material>& custom() const { return m_layered.custom(); }

    /// Loads the built-in list on first use; the same outcome for the rest of the process.
    static const BundledOutcome& bundledMaterials();
    /// The sentence to show when the built-in list did not load, else none.
    static std::optional<QString> bundledLoadProblem();

private:
    GlazeCore::LayeredLibrary m_layered;
};

/// The name shown for a material id: "Choose material" for the empty id, the material's name (valid or
/// not), or "Unknown material (" + id + ")".
QString materialDisplayName(const std::string& id, const BookLibrary& library);

} // namespace Orza
