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

bool ShownTextEdit::showing(const std::string& whole, const QString& fieldText) const {
    return whole == m_whole && fieldText.toStdString() == m_shown.text;
}

} // namespace Orza
