#include "Orza/display/TextDisplay.h"

#include "GlazeCore/text/UnicodeText.h"

#include <string>

namespace Orza {

namespace {

/// The UTF-8 of a text that shortened() to `limit` reads the same as the whole text's: a long text's two ends only.
std::string endsOf(QStringView text, std::size_t limit) {
    // Two UTF-16 units per character at most, and room for what decides where a cut may fall.
    const qsizetype end = qsizetype(limit) * 2 + 64;
    if (text.size() <= 2 * end) return text.toString().toStdString();
    return text.first(end).toString().toStdString() + text.last(end).toString().toStdString();
}

} // namespace

QString shownText(std::string_view text, std::size_t limit) {
    // Lists ask for their rows' texts at every paint: a text short in bytes is never copied on the way.
    if (text.size() <= limit) return QString::fromUtf8(text.data(), qsizetype(text.size()));
    return QString::fromStdString(GlazeCore::UnicodeText::shortened(text, limit));
}

QString shownText(QStringView text, std::size_t limit) {
    if (std::size_t(text.size()) <= limit) return text.toString();
    return QString::fromStdString(GlazeCore::UnicodeText::shortened(endsOf(text, limit), limit));
}

QString visibleText(std::string_view text, std::size_t limit) {
    return QString::fromStdString(
        GlazeCore::UnicodeText::visibleControls(GlazeCore::UnicodeText::shortened(text, limit)));
}

QString visibleText(QStringView text, std::size_t limit) {
    return QString::fromStdString(
        GlazeCore::UnicodeText::visibleControls(GlazeCore::UnicodeText::shortened(endsOf(text, limit), limit)));
}

} // namespace Orza
