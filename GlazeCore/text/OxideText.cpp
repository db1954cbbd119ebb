#include "GlazeCore/text/OxideText.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/regex.h>
#include <unicode/utext.h>
#include <vector>

namespace GlazeCore::OxideText {

namespace {

// UTF-8 of U+2080 + d for each digit d.
constexpr std::array<std::string_view, 10> subscriptDigits{"₀", "₁", "₂", "₃", "₄", "₅", "₆", "₇", "₈", "₉"};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void appendSubscript(std::string& out, char digit) {
    out += subscriptDigits[static_cast<std::size_t>(digit - '0')];
}

struct UTextCloser {
    void operator()(UText* text) const { utext_close(text); }
};
using UTextPointer = std::unique_ptr<UText, UTextCloser>;

UTextPointer openUtf8(std::string_view text, UErrorCode& status) {
    return UTextPointer(utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status));
}

// Longest first so that a formula never matches as a shorter one inside it; equal lengths keep
// the oxide order. No options: \b is the classic word boundary and matching is case-sensitive.
std::unique_ptr<icu::RegexPattern> compileFormulaPattern() {
    std::vector<std::string_view> formulas;
    for (const Oxide oxide : OxideNames::allCases())
        formulas.push_back(OxideNames::rawValue(oxide));
    std::stable_sort(formulas.begin(), formulas.end(),
                     [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
    std::string source = "\\b(";
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        if (i > 0) source += '|';
        source += formulas[i];
    }
    source += ")\\b";

    UErrorCode status = U_ZERO_ERROR;
    UParseError error;
    std::unique_ptr<icu::RegexPattern> pattern(
        icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(source), 0, error, status));
    if (U_FAILURE(status)) return nullptr;
    return pattern;
}

// A compiled pattern is immutable and may hand out matchers on any thread.
const icu::RegexPattern* formulaPattern() {
    static const std::unique_ptr<icu::RegexPattern> pattern = compileFormulaPattern();
    return pattern.get();
}

// Break iterators keep state, so each thread has its own.
icu::BreakIterator* characterBreaks() {
    thread_local const std::unique_ptr<icu::BreakIterator> breaks = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return breaks.get();
}

} // namespace

std::string formula(Oxide oxide) {
    return subscripted(OxideNames::rawValue(oxide));
}

std::string subscripted(std::string_view text) {
    if (std::none_of(text.begin(), text.end(), isDigit)) return std::string(text);

    std::string out;
    out.reserve(text.size() + 8);
    if (isAscii(text)) {
        for (const char c : text) {
            if (isDigit(c))
                appendSubscript(out, c);
            else
                out += c;
        }
        return out;
    }

    // Outside ASCII a digit may carry combining marks (or follow a prepended mark); then the
    // character is not a plain digit and stays as typed.
    UErrorCode status = U_ZERO_ERROR;
    UTextPointer utext = openUtf8(text, status);
    icu::BreakIterator* characters = characterBreaks();
    if (U_FAILURE(status) || characters == nullptr) return std::string(text);
    characters->setText(utext.get(), status);
    if (U_FAILURE(status)) return std::string(text);
    std::size_t start = 0;
    for (int32_t end = characters->next(); end != icu::BreakIterator::DONE; end = characters->next()) {
        const auto stop = static_cast<std::size_t>(end);
        if (stop == start + 1 && isDigit(text[start]))
            appendSubscript(out, text[start]);
        else
            out.append(text.substr(start, stop - start));
        start = stop;
    }
    out.append(text.substr(std::min(start, text.size())));
    return out;
}

std::string subscriptedText(std::string_view text) {
    // Only digits change, so a text without any comes back as it is.
    if (std::none_of(text.begin(), text.end(), isDigit)) return std::string(text);
    const icu::RegexPattern* pattern = formulaPattern();
    if (pattern == nullptr) return std::string(text);

    UErrorCode status = U_ZERO_ERROR;
    UTextPointer utext = openUtf8(text, status);
    std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(status));
    if (U_FAILURE(status) || !matcher) return std::string(text);
    // Over UTF-8 the match positions are byte offsets, so the text between matches is copied
    // byte for byte.
    matcher->reset(utext.get());

    std::string out;
    out.reserve(text.size() + 16);
    std::size_t copied = 0;
    while (matcher->find(status) && U_SUCCESS(status)) {
        const auto start = static_cast<std::size_t>(matcher->start64(status));
        const auto end = static_cast<std::size_t>(matcher->end64(status));
        if (U_FAILURE(status)) return std::string(text);
        out.append(text.substr(copied, start - copied));
        out += subscripted(text.substr(start, end - start));
        copied = end;
    }
    if (U_FAILURE(status)) return std::string(text);
    out.append(text.substr(copied));
    return out;
}

} // namespace GlazeCore::OxideText
