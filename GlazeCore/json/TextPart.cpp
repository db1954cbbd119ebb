#include "GlazeCore/json/TextPart.h"

#include "GlazeCore/json/JsonTokens.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <vector>

namespace GlazeCore::Json {

struct TextPart::Buffers {
    std::vector<char> bytes;
    simdjson::ondemand::parser parser;
};

namespace {

// A thread keeps the memory of its parts up to this size for the next ones; a larger part gives it back.
constexpr std::size_t keptBytes = std::size_t{8} << 20;

// Several parts may be open at once on a thread: a list read inside the book object, for one.
thread_local std::vector<std::unique_ptr<TextPart::Buffers>> spareBuffers;

std::atomic<std::size_t> handed{0};
std::atomic<std::size_t> made{0};

std::unique_ptr<TextPart::Buffers> takeBuffers() {
    if (spareBuffers.empty()) {
        made.fetch_add(1, std::memory_order_relaxed);
        return std::make_unique<TextPart::Buffers>();
    }
    std::unique_ptr<TextPart::Buffers> buffers = std::move(spareBuffers.back());
    spareBuffers.pop_back();
    return buffers;
}

void keepBuffers(std::unique_ptr<TextPart::Buffers> buffers) {
    if (buffers->bytes.capacity() <= keptBytes + simdjson::SIMDJSON_PADDING && buffers->parser.capacity() <= keptBytes)
        spareBuffers.push_back(std::move(buffers));
}

// Where a part may end outside strings: past any byte that is neither in a number nor in a literal.
bool isCutByte(char c) {
    switch (c) {
    case ',':
    case ':':
    case '{':
    case '}':
    case '[':
    case ']':
    case ' ':
    case '\n':
    case '\r':
    case '\t':
        return true;
    default:
        return false;
    }
}

// Where partEnd may cut the text: just past a line end or a tab, or a comma after a close or a quote not escaped.
// After a number the comma is passed over: the next string's comes soon.
bool isCutAfter(const char* data, std::size_t at) {
    const char c = data[at];
    if (c == '\n' || c == '\r' || c == '\t') return true;
    if (c != ',') return false;
    const char before = data[at - 1];
    return before == '}' || before == ']' || (before == '"' && at >= 2 && data[at - 2] != '\\');
}

} // namespace

TextPart::TextPart(const TokenText& text, char opening, std::size_t from, std::size_t to, char closing)
    : m_source{&text, this, nullptr}, m_from(from), m_to(to), m_textSize(text.size), m_opening(opening != '\0'),
      m_closing(closing != '\0'), m_buffers(takeBuffers()) {
    if (!parse(text, opening, closing)) refuse();
}

TextPart::TextPart(const TokenText& text, char opening, std::size_t from, AtLeast length)
    : m_source{&text, this, nullptr}, m_from(from), m_to(partEnd(text, from, length.bytes)), m_textSize(text.size),
      m_opening(opening != '\0'), m_closing(false), m_buffers(takeBuffers()) {
    if (parse(text, opening, '\0')) return;
    const std::size_t outside = partEndOutsideStrings(text, from, length.bytes);
    // At the same cut the text itself is refused.
    if (outside == m_to) refuse();
    m_to = outside;
    if (!parse(text, opening, '\0')) refuse();
}

void TextPart::refuse() {
    // Texts the parser refuses come in runs when a text is tried in parts; the memory stays for the next part.
    keepBuffers(std::move(m_buffers));
    throw NotTrusted{};
}

bool TextPart::parse(const TokenText& text, char opening, char closing) {
    std::vector<char>& bytes = m_buffers->bytes;
    const std::size_t length = (m_opening ? 1 : 0) + (m_to - m_from) + (m_closing ? 1 : 0);
    bytes.resize(length + simdjson::SIMDJSON_PADDING);
    char* out = bytes.data();
    if (m_opening) *out++ = opening;
    std::memcpy(out, text.data + m_from, m_to - m_from);
    out += m_to - m_from;
    if (m_closing) *out++ = closing;
    std::memset(out, 0, simdjson::SIMDJSON_PADDING);
    m_bytes = bytes.data();
    handed.fetch_add(length, std::memory_order_relaxed);
    // Room to spare: parts differ in length by a line, and the parser would make its index anew for each longer one.
    simdjson::ondemand::parser& parser = m_buffers->parser;
    if (parser.capacity() < length && parser.allocate(std::bit_ceil(length)) != simdjson::SUCCESS) return false;
    return parser.iterate(m_bytes, length, bytes.size()).get(m_document) == simdjson::SUCCESS;
}

TextPart::~TextPart() {
    keepBuffers(std::move(m_buffers));
}

std::size_t TextPart::handedBytes() {
    return handed.load(std::memory_order_relaxed);
}

std::size_t TextPart::memoriesMade() {
    return made.load(std::memory_order_relaxed);
}

simdjson::ondemand::value& TextPart::root() {
    if (m_document.get_value().get(m_root) != simdjson::SUCCESS) throw NotTrusted{};
    return m_root;
}

std::size_t TextPart::nextOffset() {
    const char* at = nullptr;
    if (m_document.current_location().get(at) != simdjson::SUCCESS) return m_to;
    return at < m_bytes + (m_opening ? 1 : 0) ? m_from : std::min(offsetOf(at), m_to);
}

bool TextPart::stoppedAtCut() {
    return nextOffset() == m_to;
}

std::size_t partEnd(const TokenText& text, std::size_t from, std::size_t window) {
    if (text.size - from <= window) return text.size;
    const char* const data = text.data;
    const std::size_t least = from + window;
    const std::size_t far = least + window;
    for (std::size_t at = least; at < text.size; ++at) {
        // No cut for a window on: a long text, which a window ending before it need not hold.
        if (at == far)
            for (std::size_t before = least - 1; before > from; --before)
                if (isCutAfter(data, before)) return before + 1;
        if (isCutAfter(data, at)) return at + 1;
    }
    return text.size;
}

std::size_t partEndOutsideStrings(const TokenText& text, std::size_t from, std::size_t window) {
    if (text.size - from <= window) return text.size;
    const char* const data = text.data;
    const char* const end = data + text.size;
    const char* const least = data + from + window;
    const char* at = data + from;
    for (;;) {
        if (at < least) {
            // Short of the cut only the quote that opens a string matters.
            const void* quote = std::memchr(at, '"', static_cast<std::size_t>(least - at));
            if (!quote) {
                at = least;
                continue;
            }
            at = static_cast<const char*>(quote);
        } else {
            while (at < end && *at != '"' && !isCutByte(*at))
                ++at;
            if (at == end) return text.size;
            if (*at != '"') return static_cast<std::size_t>(at - data) + 1;
        }
        // The string's closing quote, past its escapes.
        at = quoteOrBackslash(at + 1, end);
        while (at < end && *at == '\\')
            at = quoteOrBackslash(at + 2, end);
        if (at >= end) return text.size;
        ++at;
    }
}

std::size_t elementEnd(const TokenText& text, std::size_t from) {
    const char* const data = text.data;
    const char* const end = data + text.size;
    std::size_t depth = 0;
    for (const char* at = data + from; at < end; ++at) {
        switch (*at) {
        case '"':
            at = quoteOrBackslash(at + 1, end);
            while (at < end && *at == '\\')
                at = quoteOrBackslash(at + 2, end);
            if (at >= end) return text.size;
            break;
        case '{':
        case '[':
            ++depth;
            break;
        case '}':
        case ']':
            if (depth == 0) return static_cast<std::size_t>(at - data);
            --depth;
            break;
        case ',':
            if (depth == 0) return static_cast<std::size_t>(at - data);
            break;
        default:
            break;
        }
    }
    return text.size;
}

} // namespace GlazeCore::Json
