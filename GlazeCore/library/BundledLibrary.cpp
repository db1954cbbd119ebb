#include "GlazeCore/library/BundledLibrary.h"

#include "GlazeCore/book/BookJson.h"
#include "GlazeCore/book/GlazeError.h"
#include "GlazeCore/library/ResourceBundle.h"
#include "GlazeCore/text/UnicodeText.h"

namespace GlazeCore {

namespace {
constexpr std::string_view fileName = "materials.json";
}

BundledLibrary::BundledLibrary(std::vector<Material> all) : m_all(std::move(all)) {
    for (std::size_t i = 0; i < m_all.size(); ++i)
        m_byID.try_emplace(UnicodeText::canonicalForm(m_all[i].id), i);
}

BundledLibrary BundledLibrary::load() {
    auto bundle = ResourceBundle::location();
    if (!bundle) throw GlazeError::resourceMissing(std::string(fileName));
    return loadFrom(*bundle, OxideTable::shared());
}

BundledLibrary BundledLibrary::loadFrom(const std::filesystem::path& bundle, const OxideTable::OnceLoad& oxides) {
    auto file = ResourceBundle::resource(bundle, fileName);
    if (!file) throw GlazeError::resourceMissing(std::string(fileName));
    std::vector<Material> materials = BookJson::readMaterials(ResourceBundle::readAll(*file));
    // Calculations cannot use materials without the oxide table, so its failure is this load's failure.
    oxides.table();
    return BundledLibrary(std::move(materials));
}

const Material* BundledLibrary::material(std::string_view id) const {
    auto it = m_byID.find(UnicodeText::canonicalForm(id));
    return it == m_byID.end() ? nullptr : &m_all[it->second];
}

} // namespace GlazeCore
