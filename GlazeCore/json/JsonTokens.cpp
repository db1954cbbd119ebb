#include "GlazeCore/json/JsonTokens.h"

#include <simdjson.h>

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace GlazeCore::Json {

namespace {

using Parser = simdjson::internal::dom_parser_implementation;

// Books nest five deep; anything much deeper is left to the full parser and its own limit.
constexpr int deepest = 32;
// Index memory is kept for the next text only up to this size of text, so a text without line feeds gives
// its large index back.
constexpr std::size_t keptCapacity = std::size_t{8} << 20;
// The full parser reads these without doubt as the same integer; longer ones it may read otherwise.
constexpr std::ptrdiff_t longestInteger = 18;
constexpr std::ptrdiff_t longestNumber = 64;

thread_local std::unique_ptr<Parser> keptParser;

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The index is written once per structural character; huge pages make the first writes far cheaper.
void adviseHugePages(void* start, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t page = 4096;
    const auto first = (reinterpret_cast<std::uintptr_t>(start) + page - 1) & ~(page - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(page - 1);
    if (last > first + (std::uintptr_t{2} << 20)) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)start;
    (void)bytes;
#endif
}

// A parser whose index holds at least `size` bytes of text, the one kept from the last text when it is large
// enough.
std::unique_ptr<Parser> parserFor(std::unique_ptr<Parser> parser, std::size_t size) {
    if (!parser) parser = std::move(keptParser);
    if (parser && parser->capacity() >= size) return parser;
    parser.reset();
    if (simdjson::get_active_implementation()->create_dom_parser_implementation(size, simdjson::DEFAULT_MAX_DEPTH,
                                                                                parser) != simdjson::SUCCESS)
        throw NotTrusted{};
    if (size > keptCapacity) adviseHugePages(parser->structural_indexes.get(), size * sizeof(std::uint32_t));
    return parser;
}

// The first '"' or '\\' in [from, limit), else limit. Eight bytes at a time; reading past `limit` stays inside
// the padding.
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

} // namespace

TokenReader::TokenReader(const char* data, std::size_t size, std::size_t window)
    : m_text(data), m_size(size), m_windowSize(std::max<std::size_t>(window, 1)), m_window(data) {
    if (size == 0) throw NotTrusted{};
}

TokenReader::~TokenReader() {
    if (m_parser && m_parser->capacity() <= keptCapacity) keptParser = std::move(m_parser);
}

bool TokenReader::nextWindow() {
    while (m_windowEnd < m_size) {
        const std::size_t start = m_windowEnd;
        std::size_t end = m_size;
        if (m_size - start > m_windowSize) {
            const void* lineFeed = std::memchr(m_text + start + m_windowSize, '\n', m_size - start - m_windowSize);
            if (lineFeed != nullptr) end = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - m_text) + 1;
        }
        m_windowEnd = end;
        const std::size_t length = end - start;
        m_parser = parserFor(std::move(m_parser), std::max(length, 2 * m_windowSize));
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_text + start);
        const simdjson::error_code error = m_parser->stage1(bytes, length, simdjson::stage1_mode::regular);
        if (error == simdjson::EMPTY) continue; // white space only
        if (error != simdjson::SUCCESS) throw NotTrusted{};
        m_window = m_text + start;
        m_index = m_parser->structural_indexes.get();
        m_count = m_parser->n_structural_indexes;
        m_token = 0;
        // The first stage ends the index with the window's length, where the next token's start is looked for.
        if (m_count == 0 || m_index[m_count] != length) throw NotTrusted{};
        return true;
    }
    return false;
}

void TokenReader::onlySpaceUntilNextToken(const char* from) const {
    const char* next = nextTokenStart();
    if (from > next) throw NotTrusted{};
    for (; from < next; ++from)
        if (!isSpace(*from)) throw NotTrusted{};
}

std::string_view TokenReader::string(std::string& scratch) {
    if (peek() != '"') throw NotTrusted{};
    const char* begin = current() + 1;
    const char* limit = nextTokenStart();
    const char* p = quoteOrBackslash(begin, limit);
    if (p < limit && *p == '"') {
        onlySpaceUntilNextToken(p + 1);
        ++m_token;
        return {begin, static_cast<std::size_t>(p - begin)};
    }
    // Escapes: find the closing quote past them, then let the parser's own routine unescape and check them.
    while (p < limit && *p == '\\')
        p = quoteOrBackslash(p + 2, limit);
    if (p >= limit) throw NotTrusted{};
    onlySpaceUntilNextToken(p + 1);
    const std::size_t room = static_cast<std::size_t>(p - begin) + 2 * simdjson::SIMDJSON_PADDING;
    if (scratch.size() < room) scratch.resize(room);
    auto* out = reinterpret_cast<std::uint8_t*>(scratch.data());
    const std::uint8_t* end = m_parser->parse_string(reinterpret_cast<const std::uint8_t*>(begin), out);
    if (end == nullptr) throw NotTrusted{};
    ++m_token;
    return {scratch.data(), static_cast<std::size_t>(end - out)};
}

std::string_view TokenReader::key() {
    if (peek() != '"') throw NotTrusted{};
    const char* begin = current() + 1;
    const char* limit = nextTokenStart();
    const char* p = quoteOrBackslash(begin, limit);
    if (p >= limit || *p != '"') throw NotTrusted{};
    onlySpaceUntilNextToken(p + 1);
    ++m_token;
    expect(':');
    return {begin, static_cast<std::size_t>(p - begin)};
}

// JSON's number grammar, ending at the first character that cannot continue it.
TokenReader::Number TokenReader::scanNumber(const char* at) const {
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
    onlySpaceUntilNextToken(p);
    return {p, integral};
}

std::int64_t TokenReader::integral(const char* at, const Number& scanned) {
    const bool negative = *at == '-';
    const char* digits = at + (negative ? 1 : 0);
    // "-0" may be read as a fraction; long integers may not fit.
    if (!scanned.integral || scanned.end - digits > longestInteger || (negative && *digits == '0')) throw NotTrusted{};
    std::int64_t value = 0;
    for (const char* p = digits; p < scanned.end; ++p)
        value = value * 10 + (*p - '0');
    ++m_token;
    return negative ? -value : value;
}

std::int64_t TokenReader::integer() {
    if (peek() == '\0') throw NotTrusted{};
    const char* at = current();
    return integral(at, scanNumber(at));
}

double TokenReader::number() {
    if (peek() == '\0') throw NotTrusted{};
    const char* at = current();
    const Number scanned = scanNumber(at);
    if (scanned.integral) return static_cast<double>(integral(at, scanned));
    // Correctly rounded, as the parser's own reading is; what over- or underflows is left to the parser.
    double value = 0;
    const auto [end, error] = std::from_chars(at, scanned.end, value, std::chars_format::general);
    if (error != std::errc{} || end != scanned.end || !std::isfinite(value)) throw NotTrusted{};
    ++m_token;
    return value;
}

bool TokenReader::boolean() {
    if (peek() == '\0') throw NotTrusted{};
    const char* at = current();
    bool value;
    if (std::memcmp(at, "true", 4) == 0) {
        value = true;
        onlySpaceUntilNextToken(at + 4);
    } else if (std::memcmp(at, "false", 5) == 0) {
        value = false;
        onlySpaceUntilNextToken(at + 5);
    } else {
        throw NotTrusted{};
    }
    ++m_token;
    return value;
}

bool TokenReader::null() {
    if (peek() != 'n') return false;
    const char* at = current();
    if (std::memcmp(at, "null", 4) != 0) throw NotTrusted{};
    onlySpaceUntilNextToken(at + 4);
    ++m_token;
    return true;
}

std::size_t TokenReader::passValue() {
    const char first = peek();
    if (first == '\0') throw NotTrusted{};
    if (first != '{' && first != '[') {
        const std::size_t end = static_cast<std::size_t>(nextTokenStart() - m_text);
        ++m_token;
        return end;
    }
    int depth = 0;
    for (;;) {
        const char c = peek();
        if (c == '\0') throw NotTrusted{};
        if (c == '{' || c == '[')
            ++depth;
        else if (c == '}' || c == ']')
            --depth;
        const std::size_t end = offset() + 1;
        ++m_token;
        if (depth == 0) return end;
    }
}

void TokenReader::skipValue(int depth) {
    if (depth > deepest) throw NotTrusted{};
    switch (peek()) {
    case '{':
        ++m_token;
        if (take('}')) return;
        do {
            key();
            skipValue(depth + 1);
        } while (next('}'));
        return;
    case '[':
        ++m_token;
        if (take(']')) return;
        do {
            skipValue(depth + 1);
        } while (next(']'));
        return;
    case '"': {
        std::string scratch;
        string(scratch);
        return;
    }
    case 't':
    case 'f':
        boolean();
        return;
    case 'n':
        if (!null()) throw NotTrusted{};
        return;
    default:
        number();
        return;
    }
}

} // namespace GlazeCore::Json
