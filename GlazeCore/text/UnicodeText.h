#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// Unicode helpers on UTF-8 text. Ill-formed UTF-8 is read with each bad byte as U+FFFD.
namespace GlazeCore::UnicodeText {

/// True when both texts are canonically equivalent (same NFC form).
bool canonicallyEqual(std::string_view a, std::string_view b);
/// The NFC form, so that canonically equivalent texts hash alike.
std::string canonicalForm(std::string_view text);
std::size_t canonicalHash(std::string_view text);

/// Case-, diacritic- and width-insensitive folding with no locale.
std::string fold(std::string_view text);
/// Removes white space and newlines (Unicode White_Space) from both ends.
std::string trimWhitespaceAndNewlines(std::string_view text);
/// Removes only spaces and tabs from both ends.
std::string trimSpacesAndTabs(std::string_view text);
/// Removes horizontal white space (the Unicode space separators and the tab, never line breaks) from both
/// ends, as typed numbers and names are read.
std::string trimHorizontalSpace(std::string_view text);
/// User-perceived characters (extended grapheme clusters).
std::size_t graphemeCount(std::string_view text);
bool isValidUtf8(std::string_view text);
/// The Unicode scalars of the text; an ill-formed byte reads as U+FFFD.
std::u32string scalars(std::string_view text);
/// The text as a message may quote it: control characters (C0, DEL, C1), bidirectional controls and the
/// line and paragraph separators become "\uXXXX", so a name from a file can neither break a sentence into
/// lines nor turn the rest of it around. Everything else, ill-formed bytes included, is kept.
std::string visibleControls(std::string_view text);
/// The text when it holds at most `limit` Unicode scalars; a longer one keeps its start and its end, cut between
/// user-perceived characters, around "…", `limit` scalars in all. Reads only the ends, so a text of millions of
/// characters costs no more than a short one.
std::string shortened(std::string_view text, std::size_t limit);

/// What shortened() shows of a text, and where in it the "…" that stands for the hidden middle lies: the first
/// `cut` bytes are the whole text's start, the bytes after the "…" its end. A "…" of the text's own is text.
struct ShortenedText {
    static constexpr std::size_t shownWhole = std::string::npos;

    std::string text;
    std::size_t cut = shownWhole;
};

ShortenedText shortenedWithCut(std::string_view text, std::size_t limit);
/// The whole text after an edit of what it was shown as: `shown` became `typed`. An edit within the start or the
/// end changes the whole text there; an edit that takes in the "…" replaces what it stood for, so the whole text
/// becomes `typed`. `shown` then holds `typed`, its cut moved with the edit.
std::string wholeAfterEdit(std::string_view whole, ShortenedText& shown, std::string_view typed);
/// General category L (letters), M (marks) or Nd (decimal digits).
bool isLetterMarkOrDecimalDigit(char32_t scalar);

} // namespace GlazeCore::UnicodeText
