#include "Orza/library/BookLibrary.h"

#include "GlazeCore/core/Error.h"
#include "GlazeCore/library/BundledLibrary.h"
#include "GlazeCore/library/MaterialRules.h"
#include "Orza/display/TextDisplay.h"

#include <QCoreApplication>

#include <mutex>

namespace Orza {

namespace {

std::string describe(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const GlazeCore::Error& e) {
        return e.message();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

/// The base every book's library lays its custom materials over: empty when the built-in list failed.
const GlazeCore::BundledLibrary& bundledBase() {
    static const GlazeCore::BundledLibrary base(BookLibrary::bundledMaterials().materials);
    return base;
}

} // namespace

const BookLibrary::BundledOutcome& BookLibrary::bundledMaterials() {
    static BundledOutcome outcome;
    static std::once_flag once;
    std::call_once(once, [] {
        try {
            outcome.materials = GlazeCore::BundledLibrary::load().all();
        } catch (...) {
            outcome.error = std::current_exception();
            outcome.errorDescription = describe(outcome.error);
        }
    });
    return outcome;
}

std::optional<QString> BookLibrary::bundledLoadProblem() {
    const BundledOutcome& outcome = bundledMaterials();
    if (!outcome.error) return std::nullopt;
    return QCoreApplication::translate("BookLibrary", "The bundled material list did not load: %1")
        .arg(QString::fromStdString(outcome.errorDescription));
}

BookLibrary::BookLibrary(std::vector<GlazeCore::Material> custom) : m_layered(std::move(custom), bundledBase()) {}

const GlazeCore::Material* BookLibrary::material(std::string_view id) const {
    const GlazeCore::Material* found = m_layered.material(id);
    return found && GlazeCore::MaterialRules::isValid(*found) ? found : nullptr;
}

QString materialDisplayName(const std::string& id, const BookLibrary& library) {
    if (id.empty()) return QCoreApplication::translate("BookLibrary", "Choose material");
    if (const GlazeCore::Material* found = library.find(id)) return shownText(found->name);
    return QCoreApplication::translate("BookLibrary", "Unknown material (%1)").arg(shownText(id));
}

} // namespace Orza
