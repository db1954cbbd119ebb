#include "GlazeCore/json/JsonTokens.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <utility>

namespace GlazeCore::Json {

namespace {

// Books nest five deep; anything much deeper is left to the full parser and its own limit.
constexpr int deepest = 32;
// The full parser reads these without doubt as the same integer; longer ones it may read otherwise.
constexpr std::ptrdiff_t longestInteger = 18;
constexpr std::ptrdiff_t longestNumber = 64;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Number {
    const char* end;
    bool integral;
};

// JSON's number grammar over the token's text, ending at the first character that cannot continue it.
Number scanNumber(std::string_view token) {
    const char* at = token.data();
    const char* p = at;
    if (*p == '-') ++p;
    if (*p == '0') {
        ++p;
    } else if (*p >= '1' && *p <= '9') {
        while (isDigit(*p))
            ++p;
    } else {
        throw NotTrusted{};
    }
    bool integral = true;
    if (*p == '.') {
        ++p;
        if (!isDigit(*p)) throw NotTrusted{};
        while (isDigit(*p))
            ++p;
        integral = false;
    }
    if (*p == 'e' || *p == 'E') {
        ++p;
        if (*p == '+' || *p == '-') ++p;
        if (!isDigit(*p)) throw NotTrusted{};
        while (isDigit(*p))
            ++p;
        integral = false;
    }
    if (p - at > longestNumber) throw NotTrusted{};
    onlySpace(p, at + token.size());
    return {p, integral};
}

std::int64_t integral(const char* at, const Number& scanned) {
    const bool negative = *at == '-';
    const char* digits = at + (negative ? 1 : 0);
    // "-0" may be read as a fraction; long integers may not fit.
    if (!scanned.integral || scanned.end - digits > longestInteger || (negative && *digits == '0')) throw NotTrusted{};
    std::int64_t value = 0;
    for (const char* p = digits; p < scanned.end; ++p)
        value = value * 10 + (*p - '0');
    return negative ? -value : value;
}

// Takes the string the token starts, which the caller checked, so that the iteration goes on past it.
void takeString(Token value) {
    simdjson::ondemand::raw_json_string taken;
    if (value.value->get_raw_json_string().get(taken) != simdjson::SUCCESS) throw NotTrusted{};
}

} // namespace

TokenReader::TokenReader(const char* data, std::size_t size, std::size_t window, LongLists longLists)
    : m_text{data, size, std::max<std::size_t>(window, 1), std::move(longLists)},
      m_end(size + 1), m_source{&m_text, nullptr, &m_end} {}

Token TokenReader::root() {
    const char first = m_text.data[skipSpace(m_text, 0)];
    if (first != '{' && first != '[') throw NotTrusted{};
    return Token{nullptr, &m_source};
}

bool TokenReader::atEnd() const {
    return m_end <= m_text.size && skipSpace(m_text, m_end) == m_text.size;
}

const char* stringOfLength(Token value, std::size_t length) {
    const std::string_view token = tokenText(value);
    return token.size() >= length + 2 && token[0] == '"' && token[length + 1] == '"' ? token.data() + 1 : nullptr;
}

void endString(Token value, const char* quote) {
    const std::string_view token = tokenText(value);
    onlySpace(quote + 1, token.data() + token.size());
    takeString(value);
}

std::size_t skipSpace(const TokenText& text, std::size_t from) {
    while (from < text.size && isJsonSpace(text.data[from]))
        ++from;
    return from;
}

std::size_t scalarEnd(Token value) {
    const std::string_view token = tokenText(value);
    if (token[0] == '{' || token[0] == '[') return static_cast<std::size_t>(-1);
    return value.source->part->offsetOf(token.data() + token.size());
}

const char* quoteOrBackslash(const char* from, const char* limit) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ull;
        constexpr std::uint64_t high = 0x8080808080808080ull;
        for (const char* p = from; p < limit; p += 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            const std::uint64_t quotes = word ^ (ones * '"');
            const std::uint64_t slashes = word ^ (ones * '\\');
            // The lowest byte flagged is exact; borrows may flag later ones falsely.
            const std::uint64_t found = ((quotes - ones) & ~quotes & high) | ((slashes - ones) & ~slashes & high);
            if (found != 0) {
                const char* at = p + std::countr_zero(found) / 8;
                return at < limit ? at : limit;
            }
        }
        return limit;
    } else {
        const char* p = from;
        while (p < limit && *p != '"' && *p != '\\')
            ++p;
        return p;
    }
}

bool Token::is_null() const {
    const std::string_view token = tokenText(*this);
    if (token[0] != 'n') return false;
    if (token.size() < 4 || std::memcmp(token.data(), "null", 4) != 0) throw NotTrusted{};
    onlySpace(token.data() + 4, token.data() + token.size());
    return true;
}

std::string_view readText(Token value, const Path&) {
    const std::string_view token = tokenText(value);
    if (token[0] != '"') throw NotTrusted{};
    const char* begin = token.data() + 1;
    const char* limit = token.data() + token.size();
    const char* p = quoteOrBackslash(begin, limit);
    if (p < limit && *p == '"') {
        onlySpace(p + 1, limit);
        takeString(value);
        return {begin, static_cast<std::size_t>(p - begin)};
    }
    // Escapes: find the closing quote past them, then let the parser's own routine unescape and check them.
    while (p < limit && *p == '\\')
        p = quoteOrBackslash(p + 2, limit);
    if (p >= limit) throw NotTrusted{};
    onlySpace(p + 1, limit);
    std::string_view text;
    if (value.value->get_string().get(text) != simdjson::SUCCESS) throw NotTrusted{};
    return text;
}

double readDouble(Token value, const Path&) {
    const std::string_view token = tokenText(value);
    const Number scanned = scanNumber(token);
    if (scanned.integral) return static_cast<double>(integral(token.data(), scanned));
    // Correctly rounded, as the parser's own reading is; what over- or underflows is left to the parser.
    double number = 0;
    const auto [end, error] = std::from_chars(token.data(), scanned.end, number, std::chars_format::general);
    if (error != std::errc{} || end != scanned.end || !std::isfinite(number)) throw NotTrusted{};
    return number;
}

std::int64_t readInteger(Token value, const Path&) {
    const std::string_view token = tokenText(value);
    return integral(token.data(), scanNumber(token));
}

bool readBool(Token value, const Path&) {
    const std::string_view token = tokenText(value);
    const char* limit = token.data() + token.size();
    if (token.size() >= 4 && std::memcmp(token.data(), "true", 4) == 0) {
        onlySpace(token.data() + 4, limit);
        return true;
    }
    if (token.size() >= 5 && std::memcmp(token.data(), "false", 5) == 0) {
        onlySpace(token.data() + 5, limit);
        return false;
    }
    throw NotTrusted{};
}

simdjson::ondemand::object startObject(Token value) {
    simdjson::ondemand::object object;
    if (!value.value || value.value->get_object().get(object) != simdjson::SUCCESS) throw NotTrusted{};
    return object;
}

simdjson::ondemand::array startArray(Token value) {
    simdjson::ondemand::array array;
    if (!value.value || value.value->get_array().get(array) != simdjson::SUCCESS) throw NotTrusted{};
    return array;
}

std::string_view memberName(const char* name, Token member) {
    const char* valueStart = tokenText(member).data();
    const char* quote = quoteOrBackslash(name, valueStart);
    if (quote >= valueStart || *quote != '"') throw NotTrusted{};
    onlyColonUntil(quote + 1, member);
    return {name, static_cast<std::size_t>(quote - name)};
}

void skipValue(Token value, int depth) {
    if (depth > deepest) throw NotTrusted{};
    switch (tokenText(value)[0]) {
    case '{':
        forEachMember(value, [&](const char* name, Token member) {
            memberName(name, member);
            skipValue(member, depth + 1);
        });
        return;
    case '[':
        forEachItem(value, [&](Token item) { skipValue(item, depth + 1); });
        return;
    case '"':
        readText(value, Path{});
        return;
    case 't':
    case 'f':
        readBool(value, Path{});
        return;
    case 'n':
        if (!value.is_null()) throw NotTrusted{};
        return;
    default:
        readDouble(value, Path{});
        return;
    }
}

} // namespace GlazeCore::Json
