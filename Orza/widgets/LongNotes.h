#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace Orza {

class IconLabel;

/// Notes far longer than a potter types: a notes field lays each line out whole, at every keystroke and every
/// change of width, in time that grows faster than the line, so such notes are shown shortened and read only
/// under a notice. The book keeps them whole.
namespace LongNotes {

inline constexpr std::size_t maxCharacters = 100'000;
inline constexpr std::size_t maxLineCharacters = 10'000;

/// True when a notes field can hold `text` for typing: at most 100,000 characters, and 10,000 in any line.
bool fitsForTyping(std::string_view text);

/// The notes whole when they fit for typing, else their ends: what a field or a page lays out.
QString laidOut(const std::string& notes);

/// The notice that stands under notes too long to type in; hidden until show() needs it.
IconLabel* makeNotice();

/// Makes `field` editable, with `notice` hidden, when `notes` fit for typing or are what is being typed in it,
/// else read only with the notice shown. The text the field is to hold: the notes whole, or their ends. Shown
/// again once the user leaves the field, notes typed past the limits go read only.
QString show(const std::string& notes, QPlainTextEdit* field, IconLabel* notice);

/// True while `field` has its window's focus, is editable and holds `notes`: the user is typing them.
bool beingTyped(const std::string& notes, const QPlainTextEdit& field);

} // namespace LongNotes

} // namespace Orza
