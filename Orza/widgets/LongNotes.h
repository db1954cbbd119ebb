#pragma once

#include <QString>

#include <string>
#include <string_view>

class QPlainTextEdit;

namespace Orza {

class IconLabel;

/// Notes far longer than a potter types: a notes field lays each line out whole, at every keystroke and every
/// change of width, in time that grows faster than the line, so such notes are shown shortened and read only
/// under a notice. The book keeps them whole.
namespace LongNotes {

/// True when a notes field can hold `text` for typing.
bool fitsForTyping(std::string_view text);

/// The notes whole when they fit for typing, else their ends: what a field or a page lays out.
QString laidOut(const std::string& notes);

/// The notice that stands under notes too long to type in; hidden until show() needs it.
IconLabel* makeNotice();

/// Makes `field` editable, with `notice` hidden, when `notes` fit for typing, else read only with the notice
/// shown. The text the field is to hold: the notes whole, or their ends.
QString show(const std::string& notes, QPlainTextEdit* field, IconLabel* notice);

} // namespace LongNotes

} // namespace Orza
