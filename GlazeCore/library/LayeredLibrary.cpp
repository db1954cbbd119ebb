#include "GlazeCore/library/LayeredLibrary.h"

#include "GlazeCore/text/UnicodeText.h"

namespace GlazeCore {

LayeredLibrary::LayeredLibrary(std::vector<Material> custom, const MaterialLibrary& base)
    : m_custom(std::move(custom)), m_base(base.clone()) {
    for (std::size_t i = 0; i < m_custom.size(); ++i)
        m_customByID.insert_or_assign(UnicodeText::canonicalForm(m_custom[i].id), i);

    // Both layers are immutable, so the merged list is made once here.
    m_all = m_custom;
    for (const Material& material : m_base->all())
        if (!m_customByID.contains(UnicodeText::canonicalForm(material.id))) m_all.push_back(material);
}

LayeredLibrary::LayeredLibrary(const LayeredLibrary& other)
    : MaterialLibrary(other), m_custom(other.m_custom), m_base(other.m_base->clone()), m_customByID(other.m_customByID),
      m_all(other.m_all) {}

LayeredLibrary& LayeredLibrary::operator=(const LayeredLibrary& other) {
    if (this != &other) *this = LayeredLibrary(other);
    return *this;
}

const Material* LayeredLibrary::material(std::string_view id) const {
    auto it = m_customByID.find(UnicodeText::canonicalForm(id));
    if (it != m_customByID.end()) return &m_custom[it->second];
    return m_base->material(id);
}

} // namespace GlazeCore
