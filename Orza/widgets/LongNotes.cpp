#include "Orza/widgets/LongNotes.h"

#include "Orza/display/TextDisplay.h"
#include "Orza/widgets/IconLabel.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

#include <string>

namespace Orza::LongNotes {

bool fitsForTyping(std::string_view text) {
    // In characters, as the potter counts them (an "é" is one, though UTF-8 gives it two bytes), and only as far
    // as the limits reach, so the test costs little for any text.
    constexpr std::size_t maxBytesPerCharacter = 4;
    if (text.size() > maxCharacters * maxBytesPerCharacter) return false;
    std::size_t characters = 0;
    std::size_t lineCharacters = 0;
    for (const char byte : text) {
        if ((static_cast<unsigned char>(byte) & 0xC0) == 0x80) continue; // the rest of a character begun earlier
        ++characters;
        if (byte == '\n')
            lineCharacters = 0;
        else if (++lineCharacters > maxLineCharacters)
            return false;
    }
    return characters <= maxCharacters;
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
    // A keystroke that takes the notes past the limits is kept, and so is every one after it: the field goes
    // read only only once the user has left it.
    const bool typable = fitsForTyping(notes) || beingTyped(notes, *field);
    field->setReadOnly(!typable);
    notice->setVisible(!typable);
    return typable ? QString::fromStdString(notes) : shownText(notes);
}

bool beingTyped(const std::string& notes, const QPlainTextEdit& field) {
    if (field.isReadOnly() || field.window()->focusWidget() != &field) return false;
    const QString typed = field.toPlainText();
    // UTF-8 takes at most three bytes for each UTF-16 unit: longer notes cannot be the typed text.
    return notes.size() <= 3 * std::size_t(typed.size()) && typed == QString::fromStdString(notes);
}

} // namespace Orza::LongNotes
