#pragma once

#include <cstddef>

class QLineEdit;

namespace Orza::OneLineText {

/// The most characters a one-line field takes by typing or pasting. A line field lays its whole text out at every
/// keystroke, so a much longer one would stop the window; a book's longer text is shown by its ends
/// (ShownTextEdit) and kept whole.
inline constexpr std::size_t maxCharacters = 10'000;

/// The rule of every one-line field that holds a book's text: what is pasted or typed is kept whole up to
/// maxCharacters, and a paste or key past them is refused whole, with a word under the field. Qt's own limit
/// would cut a paste at 32,767 characters and drop keys after it without one.
void keepWhole(QLineEdit* field);

} // namespace Orza::OneLineText
