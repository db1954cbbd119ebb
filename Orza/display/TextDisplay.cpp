#include "Orza/display/TextDisplay.h"

#include "GlazeCore/text/UnicodeText.h"

#include <QList>

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

namespace {

/// Would split the title into lines or change the direction of more than the text itself.
bool breaksATitle(char32_t c) {
    if (QChar::category(c) == QChar::Other_Control) return true; // C0, DEL and C1, tabs and line feeds among them
    if (c == 0x2028 || c == 0x2029) return true;                 // line and paragraph separators
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool readsRightToLeft(char32_t c) {
    const QChar::Direction direction = QChar::direction(c);
    return direction == QChar::DirR || direction == QChar::DirAL || c == 0x200F || c == 0x061C || c == 0x200E;
}

} // namespace

QString titleText(std::string_view text) {
    const QString shown = shownText(text);
    QString title;
    title.reserve(shown.size() + 2);
    bool isolate = false;
    for (const char32_t c : shown.toUcs4()) {
        isolate = isolate || readsRightToLeft(c);
        if (breaksATitle(c))
            title += QStringLiteral("\\u") + QString::number(uint(c), 16).rightJustified(4, QLatin1Char('0')).toUpper();
        else
            title += QString::fromUcs4(&c, 1);
    }
    // First strong isolate ... pop directional isolate: the text takes its own direction and leaves the rest be.
    if (isolate) title = QChar(0x2068) + title + QChar(0x2069);
    return title;
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
