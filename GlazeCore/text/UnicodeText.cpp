#include "GlazeCore/text/UnicodeText.h"

#include "GlazeCore/text/TextWork.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <unicode/brkiter.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace GlazeCore::UnicodeText {

namespace {

icu::UnicodeString fromUtf8(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

const icu::Normalizer2& normalizer(UNormalization2Mode mode, const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* instance = icu::Normalizer2::getInstance(nullptr, name, mode, status);
    if (U_FAILURE(status) || instance == nullptr) throw std::runtime_error("ICU normalization data is missing");
    return *instance;
}

const icu::Normalizer2& nfc() {
    static const icu::Normalizer2& instance = normalizer(UNORM2_COMPOSE, "nfc");
    return instance;
}

const icu::Normalizer2& nfd() {
    static const icu::Normalizer2& instance = normalizer(UNORM2_DECOMPOSE, "nfc");
    return instance;
}

const icu::Normalizer2& nfkd() {
    static const icu::Normalizer2& instance = normalizer(UNORM2_DECOMPOSE, "nfkc");
    return instance;
}

icu::UnicodeString normalize(const icu::Normalizer2& form, const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString out = form.normalize(text, status);
    return U_FAILURE(status) ? text : out;
}

bool isNfc(const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    const bool yes = nfc().isNormalized(text, status);
    return U_SUCCESS(status) && yes;
}

bool isAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

bool isWidthVariant(UChar32 c) {
    const auto type = u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE);
    return type == U_DT_WIDE || type == U_DT_NARROW;
}

// Full-width and half-width forms become their ordinary forms; diacritics (non-spacing marks) go.
icu::UnicodeString stripWidthAndDiacritics(const icu::UnicodeString& decomposed) {
    icu::UnicodeString out;
    for (int32_t i = 0; i < decomposed.length();) {
        const UChar32 c = decomposed.char32At(i);
        i += U16_LENGTH(c);
        if (u_charType(c) == U_NON_SPACING_MARK) continue;
        if (isWidthVariant(c)) {
            icu::UnicodeString plain;
            if (nfkd().getDecomposition(c, plain)) {
                out.append(stripWidthAndDiacritics(plain));
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

// Canonical ordering sorts each run of non-starters (combining marks) in place, which costs a run's length squared:
// marks piled by the million on one letter would stop a fold. As the stream-safe format does, a run is parted
// after this many by U+034F COMBINING GRAPHEME JOINER, a mark of class 0 that folding strips with the rest; no
// text of any script needs more marks on one letter, so no other fold changes.
constexpr int mostMarksInARow = 30;

icu::UnicodeString streamSafe(const icu::UnicodeString& text) {
    // A character whose decomposition starts with a non-starter: a normalization boundary never precedes it.
    const auto nonStarter = [](UChar32 c) { return c >= 0x300 && !nfd().hasBoundaryBefore(c); };
    // Sorting a mark into its run passes at most the marks before it: the work the ordering does, counted.
    int run = 0;
    bool parted = false;
    for (int32_t i = 0; i < text.length() && !parted; i += U16_LENGTH(text.char32At(i))) {
        run = nonStarter(text.char32At(i)) ? run + 1 : 0;
        parted = run > mostMarksInARow;
        TextWork::add(std::size_t(run) + 1);
    }
    if (!parted) return text;
    icu::UnicodeString out;
    run = 0;
    for (int32_t i = 0; i < text.length();) {
        const UChar32 c = text.char32At(i);
        i += U16_LENGTH(c);
        run = nonStarter(c) ? run + 1 : 0;
        if (run > mostMarksInARow) {
            out.append(static_cast<UChar32>(0x034F));
            run = 1;
        }
        out.append(c);
        TextWork::add(std::size_t(run) + 1);
    }
    return out;
}

} // namespace

bool canonicallyEqual(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (isAscii(a) && isAscii(b)) return false;
    const icu::UnicodeString ua = fromUtf8(a), ub = fromUtf8(b);
    if (isNfc(ua) && isNfc(ub)) return ua == ub;
    return normalize(nfc(), ua) == normalize(nfc(), ub);
}

std::string canonicalForm(std::string_view text) {
    if (isAscii(text)) return std::string(text);
    return toUtf8(normalize(nfc(), fromUtf8(text)));
}

std::size_t canonicalHash(std::string_view text) {
    if (isAscii(text)) return std::hash<std::string_view>{}(text);
    return std::hash<std::string>{}(canonicalForm(text));
}

std::string fold(std::string_view text) {
    if (isAscii(text)) {
        TextWork::add(text.size());
        std::string lowered(text);
        for (char& c : lowered)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return lowered;
    }
    // Eight passes, each through the whole text: from UTF-8, three normalizations, two strips, the case fold, to
    // UTF-8. Making the text stream-safe counts its own.
    TextWork::add(text.size() * 8);
    icu::UnicodeString folded = stripWidthAndDiacritics(normalize(nfd(), streamSafe(fromUtf8(text))));
    folded.foldCase(U_FOLD_CASE_DEFAULT);
    // Case folding can bring back marks (for example from U+0130); strip them once more.
    folded = stripWidthAndDiacritics(normalize(nfd(), folded));
    return toUtf8(normalize(nfc(), folded));
}

namespace {

std::string trimWhere(std::string_view text, const std::function<bool(UChar32)>& isTrimmed) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    while (start < length) {
        int32_t next = start;
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !isTrimmed(c)) break;
        start = next;
    }
    int32_t end = length;
    while (end > start) {
        int32_t previous = end;
        UChar32 c;
        U8_PREV(bytes, start, previous, c);
        if (c < 0 || !isTrimmed(c)) break;
        end = previous;
    }
    return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

} // namespace

std::string trimWhitespaceAndNewlines(std::string_view text) {
    return trimWhere(text, [](UChar32 c) { return u_hasBinaryProperty(c, UCHAR_WHITE_SPACE) != 0; });
}

std::string trimSpacesAndTabs(std::string_view text) {
    return trimWhere(text, [](UChar32 c) { return c == U' ' || c == U'\t'; });
}

std::string trimHorizontalSpace(std::string_view text) {
    return trimWhere(text, [](UChar32 c) { return c == U'\t' || u_charType(c) == U_SPACE_SEPARATOR; });
}

std::size_t graphemeCount(std::string_view text) {
    if (text.empty()) return 0;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    const icu::UnicodeString unicode = fromUtf8(text);
    if (U_FAILURE(status) || !breaks) return static_cast<std::size_t>(unicode.countChar32());
    breaks->setText(unicode);
    std::size_t count = 0;
    for (int32_t at = breaks->next(); at != icu::BreakIterator::DONE; at = breaks->next())
        ++count;
    return count;
}

bool isValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) return false;
    }
    return true;
}

std::u32string scalars(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    std::u32string out;
    out.reserve(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        out.push_back(c < 0 ? U'\uFFFD' : static_cast<char32_t>(c));
    }
    return out;
}

namespace {

bool breaksAMessage(UChar32 c) {
    if (u_charType(c) == U_CONTROL_CHAR) return true; // C0, DEL and C1
    switch (c) {
    case 0x061C: // Arabic letter mark
    case 0x200E: // left-to-right and right-to-left marks
    case 0x200F:
    case 0x2028: // line and paragraph separators
    case 0x2029:
        return true;
    default:
        // Embeddings, overrides and isolates.
        return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
    }
}

} // namespace

std::string visibleControls(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    std::string out;
    out.reserve(text.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c >= 0 && breaksAMessage(c)) {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out.append(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
        }
    }
    return out;
}

std::string shortened(std::string_view text, std::size_t limit) {
    return shortenedWithCut(text, limit).text;
}

ShortenedText shortenedWithCut(std::string_view text, std::size_t limit) {
    // A scalar takes at most 4 bytes, so the ends are read from views of bounded size whatever the text's.
    constexpr std::size_t maxBytes = 4;
    // Scalars past the head and before the tail, so that the cuts see the characters around them.
    constexpr std::size_t context = 16;
    if (text.size() <= limit) return {std::string(text)};
    const std::string_view start = text.substr(0, (limit + 1) * maxBytes);
    const auto* bytes = reinterpret_cast<const uint8_t*>(start.data());
    const auto length = static_cast<int32_t>(start.size());
    int32_t headEnd = 0;
    std::size_t counted = 0;
    for (; headEnd < length && counted <= limit; ++counted)
        U8_FWD_1(bytes, headEnd, length);
    if (counted <= limit) return {std::string(text)};

    const std::size_t kept = limit - std::min<std::size_t>(limit, 1); // all but the ellipsis
    const std::size_t headScalars = kept / 2;
    const std::size_t tailScalars = kept - headScalars;
    for (; counted > headScalars + context; --counted)
        U8_BACK_1(bytes, 0, headEnd);
    const std::string_view end = text.substr(text.size() - std::min(text.size(), (tailScalars + context) * maxBytes));
    const auto* endBytes = reinterpret_cast<const uint8_t*>(end.data());
    auto tailStart = static_cast<int32_t>(end.size());
    for (std::size_t back = 0; back < tailScalars + context && tailStart > 0; ++back)
        U8_BACK_1(endBytes, 0, tailStart);

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) breaks.reset();
    const icu::UnicodeString head = fromUtf8(start.substr(0, static_cast<std::size_t>(headEnd)));
    int32_t headCut = head.moveIndex32(0, static_cast<int32_t>(headScalars));
    if (breaks) {
        breaks->setText(head);
        if (!breaks->isBoundary(headCut)) headCut = std::max(0, breaks->preceding(headCut));
    }
    const icu::UnicodeString tail = fromUtf8(end.substr(static_cast<std::size_t>(tailStart)));
    int32_t tailCut = tail.moveIndex32(tail.length(), -static_cast<int32_t>(tailScalars));
    if (breaks) {
        breaks->setText(tail);
        if (!breaks->isBoundary(tailCut)) {
            const int32_t next = breaks->following(tailCut);
            tailCut = next == icu::BreakIterator::DONE ? tail.length() : next;
        }
    }
    ShortenedText shown{toUtf8(head.tempSubString(0, headCut))};
    shown.cut = shown.text.size();
    shown.text += "\u2026" + toUtf8(tail.tempSubString(tailCut));
    return shown;
}

std::string wholeAfterEdit(std::string_view whole, ShortenedText& shown, std::string_view typed) {
    constexpr std::size_t ellipsis = std::string_view("\u2026").size();
    const std::string_view before = shown.text;
    const std::size_t cut = shown.cut;
    if (cut == ShortenedText::shownWhole || cut + ellipsis > before.size()) {
        shown = {std::string(typed)};
        return shown.text;
    }
    // The edited bytes of what was shown: what lies between the longest start and end it shares with `typed`.
    // Bytes, not characters: the start and the end shown are the whole text's own bytes, so a splice anywhere in
    // them gives the whole text that reads as `typed` does there.
    const std::size_t shorter = std::min(before.size(), typed.size());
    std::size_t prefix = 0;
    while (prefix < shorter && before[prefix] == typed[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == typed[typed.size() - 1 - suffix])
        ++suffix;
    const std::string_view inserted = typed.substr(prefix, typed.size() - suffix - prefix);
    const std::size_t editEnd = before.size() - suffix;
    std::string out;
    if (editEnd <= cut) { // in the start
        out.reserve(whole.size() + inserted.size());
        out.append(whole.substr(0, prefix)).append(inserted).append(whole.substr(editEnd));
        shown = {std::string(typed), cut + inserted.size() - (editEnd - prefix)};
        return out;
    }
    if (prefix >= cut + ellipsis) { // in the end
        const std::size_t hidden = whole.size() - before.size();
        out.reserve(whole.size() + inserted.size());
        out.append(whole.substr(0, prefix + hidden)).append(inserted).append(whole.substr(whole.size() - suffix));
        shown = {std::string(typed), cut};
        return out;
    }
    shown = {std::string(typed)};
    return shown.text;
}

bool isLetterMarkOrDecimalDigit(char32_t scalar) {
    return (U_GET_GC_MASK(static_cast<UChar32>(scalar)) & (U_GC_L_MASK | U_GC_M_MASK | U_GC_ND_MASK)) != 0;
}

} // namespace GlazeCore::UnicodeText
