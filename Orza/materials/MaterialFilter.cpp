#include "Orza/materials/MaterialFilter.h"

#include <algorithm>

namespace Orza {

namespace {

bool isTrimmed(QChar c) {
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

/// Line breaks are not trimmed: only spaces and tabs.
QString trimmedOfSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && isTrimmed(text.at(first)))
        ++first;
    while (end > first && isTrimmed(text.at(end - 1)))
        --end;
    return text.mid(first, end - first);
}

/// Lower-cased without regard to the user's locale, composed so that either spelling of an accent matches.
QString folded(const QString& text) {
    return text.toLower().normalized(QString::NormalizationForm_C);
}

bool isAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

MaterialFilter::MaterialFilter(const QString& query) : m_needle(folded(trimmedOfSpaces(query))) {}

bool MaterialFilter::contains(const std::string& text) const {
    if (text.empty()) return false;
    if (isAscii(text)) {
        // Most names are plain ASCII: compared as Latin-1 without a conversion of the whole text.
        return QLatin1String(text.data(), qsizetype(text.size())).contains(m_needle, Qt::CaseInsensitive);
    }
    return folded(QString::fromStdString(text)).contains(m_needle);
}

bool MaterialFilter::matches(const GlazeCore::Material& material) const {
    if (m_needle.isEmpty()) return true;
    return contains(material.name) || contains(material.id) || contains(material.source);
}

std::vector<std::size_t> MaterialFilter::positions(const std::vector<GlazeCore::Material>& materials) const {
    std::vector<std::size_t> passing;
    passing.reserve(materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i)
        if (matches(materials[i])) passing.push_back(i);
    return passing;
}

} // namespace Orza
