#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <string_view>

namespace Orza {

/// The most characters of a book's text that one line shows: a name in a list, a field or a window title, a tooltip,
/// and what the desktop's accessibility reads out. A book may hold a name of millions of characters; laying out all
/// of them would stop the window, and a window title of many megabytes ends the connection to the display.
inline constexpr std::size_t shownTextLimit = 1000;
/// The most characters of a text from outside Orza that a title or a message quotes.
inline constexpr std::size_t quotedTextLimit = 200;

/// A book's text for one line: whole when it has at most `limit` characters, else its start and its end around
/// "…". The book keeps the text whole; only what is shown is shortened.
QString shownText(std::string_view text, std::size_t limit = shownTextLimit);
QString shownText(QStringView text, std::size_t limit = shownTextLimit);

/// A text that did not come from Orza itself (a name from a book, a file's path, a reason the system gives) as a
/// title or a message quotes it: shortened as shownText() does, and with the controls that would break the sentence
/// into lines or turn the rest of it around written out as "\uXXXX".
QString visibleText(std::string_view text, std::size_t limit = quotedTextLimit);
QString visibleText(QStringView text, std::size_t limit = quotedTextLimit);

/// A book's own text (a recipe's name, its cone) as a window title shows it: letters and direction marks as typed,
/// and, when it holds right-to-left letters or marks, isolated so that it cannot turn around what follows it. Only
/// line breaks, the other control characters and direction embeddings, overrides and isolates are written out as
/// "\uXXXX", and only a huge text is shortened, as shownText() does.
QString titleText(std::string_view text);

} // namespace Orza
