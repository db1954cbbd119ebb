#include "Orza/widgets/LongNotes.h"

#include "Orza/display/TextDisplay.h"
#include "Orza/widgets/IconLabel.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

namespace Orza::LongNotes {

bool fitsForTyping(std::string_view text) {
    // In bytes of UTF-8, so the test costs nothing for any text: a line of 10,000 is laid out in a few
    // milliseconds even when it offers no place to wrap.
    constexpr std::size_t maxBytes = 100'000;
    constexpr std::size_t maxLineBytes = 10'000;
    if (text.size() > maxBytes) return false;
    std::size_t lineStart = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != '\n') continue;
        if (at - lineStart > maxLineBytes) return false;
        lineStart = at + 1;
    }
    return true;
}

QString laidOut(const std::string& notes) {
    return fitsForTyping(notes) ? QString::fromStdString(notes) : shownText(notes);
}

IconLabel* makeNotice() {
    auto* notice = new IconLabel(Symbol::exclamationTriangle, IconLabel::Tone::secondary, TextStyle::Style::caption);
    notice->setText(
        QCoreApplication::translate("LongNotes", "These notes are too long to edit here. They are kept as they are."));
    notice->hide();
    return notice;
}

QString show(const std::string& notes, QPlainTextEdit* field, IconLabel* notice) {
    const bool typable = fitsForTyping(notes);
    field->setReadOnly(!typable);
    notice->setVisible(!typable);
    return laidOut(notes);
}

} // namespace Orza::LongNotes
