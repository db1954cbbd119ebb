#pragma once

#include <simdjson.h>

#include <cstddef>
#include <functional>
#include <memory>

namespace GlazeCore::Json {

/// Thrown by the token reader at anything it does not take on trust. The caller then reads the same bytes
/// with the full parser, which finds and names the problem; so this reader never has to name one.
struct NotTrusted {};

/// How long lists are read: in order by one thread, or in runs of about this many bytes side by side; then, when
/// given, `discardBefore` hears of each offset of the text before which nothing will be read again.
struct LongLists {
    bool shared = false;
    std::size_t batchBytes = std::size_t{256} << 10;
    const std::function<void(std::size_t)>* discardBefore = nullptr;
};

/// A padded text read by the token reader, and how: the bytes it reads at once, and its long lists.
struct TokenText {
    const char* data;
    std::size_t size;
    std::size_t window;
    LongLists longLists;
};

class TextPart;

/// Where the token reader's values come from: the text, the part of it they were read from (none for a container
/// read a window at a time), and, when set, where a value read a window at a time leaves the offset just past it.
struct TokenSource {
    const TokenText* text;
    TextPart* part;
    std::size_t* end;
};

/// How far a part of the text reaches: at least this many bytes, to the first cut after them.
struct AtLeast {
    std::size_t bytes;
};

/// Bytes [from, to) of a text, copied after `opening` (the '[' or '{' of the container they continue, or
/// nothing) and before `closing`, and read by the parser's On-Demand interface as one value. Zeros follow the
/// copy, so a part cut off inside a value ends in a parse error, never in bytes the part does not hold.
///
/// Parts stay small whatever the size of the text, so their index stays in the cache; each thread keeps the
/// memory of the parts it read for the next ones.
class TextPart {
public:
    TextPart(const TokenText& text, char opening, std::size_t from, std::size_t to, char closing = '\0');
    /// The part from `from`, which is outside strings, to the cut partEnd finds `length` bytes on; should that cut
    /// fall inside a string, which the parser finds unclosed, to the first cut outside strings instead.
    TextPart(const TokenText& text, char opening, std::size_t from, AtLeast length);
    ~TextPart();
    TextPart(const TextPart&) = delete;
    TextPart& operator=(const TextPart&) = delete;

    /// The part's value, not yet started.
    simdjson::ondemand::value& root();
    /// The source of the values read from the part.
    const TokenSource* source() const { return &m_source; }
    /// The offset in the text of a byte of the part.
    std::size_t offsetOf(const char* at) const {
        return m_from + static_cast<std::size_t>(at - m_bytes) - (m_opening ? 1 : 0);
    }
    /// The offset of the token the parser reads next, or the part's end when none is left.
    std::size_t nextOffset();
    /// Whether the parser stopped where the part was cut off, so that a failure may be the cut's.
    bool stoppedAtCut();
    /// Whether the part holds the text to its end.
    bool holdsRest() const { return m_to == m_textSize && !m_closing; }
    std::size_t end() const { return m_to; }

    /// The bytes every part so far handed to the parser, on any thread: what reading a text costs, for the tests and
    /// benchmarks that hold the reader to reading each byte about once.
    static std::size_t handedBytes();
    /// The memories for parts (a buffer and a parser) every thread so far made: a thread keeps one for each part it
    /// has open at once, so their number grows with the threads, not with the parts.
    static std::size_t memoriesMade();

    struct Buffers;

private:
    /// Copies the part's bytes and starts the parser on them; false when the parser refuses them.
    bool parse(const TokenText& text, char opening, char closing);
    /// Throws NotTrusted, the thread keeping the part's memory.
    [[noreturn]] void refuse();

    TokenSource m_source;
    std::size_t m_from;
    std::size_t m_to;
    std::size_t m_textSize;
    bool m_opening;
    bool m_closing;
    std::unique_ptr<Buffers> m_buffers;
    const char* m_bytes;
    simdjson::ondemand::document m_document;
    simdjson::ondemand::value m_root;
};

/// Where a part of the text that starts at `from` is cut, looking only at the bytes past `window`: just past the
/// first line end or tab, or comma after a string or a close, at least `window` bytes on; or at the text's end.
/// When there is none for another window on (a long text), at the last such byte short of `window` instead, if any:
/// so a window that reaches into a long text stops before it rather than hold it whole.
/// Neither a line end nor a tab is ever inside a token of valid JSON. Such a comma is outside strings too unless a
/// string holds it, and then the part ends inside that string, which the parser refuses.
std::size_t partEnd(const TokenText& text, std::size_t from, std::size_t window);
/// The same cut, never inside a string, at a comma, colon, bracket, brace or white space: found by reading the text
/// from `from`, which must be outside strings, so it costs a pass over the window.
std::size_t partEndOutsideStrings(const TokenText& text, std::size_t from, std::size_t window);
/// The offset of the comma or close that ends the element of a container starting at `from`, which must be outside
/// strings; or the text's end. Found by one pass over the element, its strings skipped a word at a time.
std::size_t elementEnd(const TokenText& text, std::size_t from);

} // namespace GlazeCore::Json
