#include "Orza/library/BookLibrary.h"

#include "GlazeCore/core/Error.h"
#include "GlazeCore/library/BundledLibrary.h"
#include "GlazeCore/library/MaterialRules.h"

#include <QCoreApplication>

#include <mutex>
#include <unordered_set>

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

/// Shared by every library value, so building one per view copies no built-in list.
const std::shared_ptr<const std::vector<GlazeCore::Material>>& sharedBundled() {
    static const auto list =
        std::make_shared<const std::vector<GlazeCore::Material>>(BookLibrary::bundledMaterials().materials);
    return list;
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

BookLibrary::BookLibrary(std::vector<GlazeCore::Material> custom)
    : m_bundled(sharedBundled()), m_custom(std::move(custom)) {
    m_index.reserve(m_bundled->size() + m_custom.size());
    for (const GlazeCore::Material& material : *m_bundled)
        m_index.insert_or_assign(material.id, material);
    std::unordered_set<std::string> customIDs;
    customIDs.reserve(m_custom.size());
    for (const GlazeCore::Material& material : m_custom) {
        m_index.insert_or_assign(material.id, material);
        customIDs.insert(material.id);
    }
    m_all.reserve(m_custom.size() + m_bundled->size());
    m_all = m_custom;
    for (const GlazeCore::Material& material : *m_bundled)
        if (!customIDs.contains(material.id)) m_all.push_back(material);
}

const GlazeCore::Material* BookLibrary::material(std::string_view id) const {
    const auto found = m_index.find(std::string(id));
    if (found == m_index.end() || !GlazeCore::MaterialRules::isValid(found->second)) return nullptr;
    return &found->second;
}

QString materialDisplayName(const std::string& id, const BookLibrary::Index& index) {
    if (id.empty()) return QCoreApplication::translate("BookLibrary", "Choose material");
    if (const auto found = index.find(id); found != index.end()) return QString::fromStdString(found->second.name);
    return QCoreApplication::translate("BookLibrary", "Unknown material (%1)").arg(QString::fromStdString(id));
}

} // namespace Orza
