#include "GlazeCore/json/TextPart.h"

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

std::unique_ptr<TextPart::Buffers> takeBuffers() {
    if (spareBuffers.empty()) return std::make_unique<TextPart::Buffers>();
    std::unique_ptr<TextPart::Buffers> buffers = std::move(spareBuffers.back());
    spareBuffers.pop_back();
    return buffers;
}

} // namespace

TextPart::TextPart(const TokenText& text, char opening, std::size_t from, std::size_t to, char closing)
    : m_source{&text, this, nullptr}, m_from(from), m_to(to), m_textSize(text.size), m_opening(opening != '\0'),
      m_closing(closing != '\0'), m_buffers(takeBuffers()) {
    std::vector<char>& bytes = m_buffers->bytes;
    const std::size_t length = (m_opening ? 1 : 0) + (to - from) + (m_closing ? 1 : 0);
    bytes.resize(length + simdjson::SIMDJSON_PADDING);
    char* out = bytes.data();
    if (m_opening) *out++ = opening;
    std::memcpy(out, text.data + from, to - from);
    out += to - from;
    if (m_closing) *out++ = closing;
    std::memset(out, 0, simdjson::SIMDJSON_PADDING);
    m_bytes = bytes.data();
    handed.fetch_add(length, std::memory_order_relaxed);
    // Room to spare: parts differ in length by a line, and the parser would make its index anew for each longer one.
    simdjson::ondemand::parser& parser = m_buffers->parser;
    if (parser.capacity() < length && parser.allocate(std::bit_ceil(length)) != simdjson::SUCCESS) throw NotTrusted{};
    if (parser.iterate(m_bytes, length, bytes.size()).get(m_document) != simdjson::SUCCESS) throw NotTrusted{};
}

TextPart::~TextPart() {
    if (m_buffers->bytes.capacity() <= keptBytes + simdjson::SIMDJSON_PADDING &&
        m_buffers->parser.capacity() <= keptBytes)
        spareBuffers.push_back(std::move(m_buffers));
}

std::size_t TextPart::handedBytes() {
    return handed.load(std::memory_order_relaxed);
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
    const void* lineFeed = std::memchr(text.data + from + window, '\n', text.size - from - window);
    return lineFeed ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - text.data) + 1 : text.size;
}

} // namespace GlazeCore::Json
