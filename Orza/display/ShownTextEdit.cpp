#include "Orza/display/ShownTextEdit.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/display/TextDisplay.h"

namespace Orza {

QString ShownTextEdit::show(const std::string& whole) {
    // As shownText() shows it, with where the cut is.
    m_shown = GlazeCore::UnicodeText::shortenedWithCut(whole, shownTextLimit);
    m_whole = whole;
    return QString::fromStdString(m_shown.text);
}

std::string ShownTextEdit::edit(const QString& typed) {
    const std::string text = typed.toStdString();
    m_whole = GlazeCore::UnicodeText::wholeAfterEdit(m_whole, m_shown, text);
    return m_whole;
}

std::optional<qsizetype> ShownTextEdit::cutInField() const {
    if (m_shown.cut == GlazeCore::UnicodeText::ShortenedText::shownWhole) return std::nullopt;
    return QString::fromUtf8(m_shown.text.data(), qsizetype(m_shown.cut)).size();
}

std::string ShownTextEdit::eraseHidden(bool backward) {
    constexpr std::size_t ellipsis = std::string_view("\u2026").size();
    const std::size_t cut = m_shown.cut;
    if (cut == GlazeCore::UnicodeText::ShortenedText::shownWhole) return m_whole;
    const std::size_t tail = m_shown.text.size() - cut - ellipsis;
    const std::size_t hiddenEnd = m_whole.size() - tail;
    const auto continuation = [this](std::size_t at) {
        return (static_cast<unsigned char>(m_whole[at]) & 0xC0) == 0x80;
    };
    if (hiddenEnd <= cut) return m_whole;
    // One scalar: its lead byte and the continuation bytes after it.
    std::size_t from = cut;
    std::size_t to = cut + 1;
    if (backward) {
        from = hiddenEnd - 1;
        while (from > cut && continuation(from))
            --from;
        to = hiddenEnd;
    } else {
        while (to < hiddenEnd && continuation(to))
            ++to;
    }
    m_whole.erase(from, to - from);
    if (m_whole.size() == cut + tail) // the middle is gone: the field shows the text whole
        m_shown = {m_shown.text.substr(0, cut) + m_shown.text.substr(cut + ellipsis)};
    return m_whole;
}

bool ShownTextEdit::showing(const std::string& whole, const QString& fieldText) const {
    return whole == m_whole && fieldText.toStdString() == m_shown.text;
}

} // namespace Orza
