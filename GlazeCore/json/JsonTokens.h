#pragma once

#include "GlazeCore/json/JsonPath.h"
#include "GlazeCore/json/Workers.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simdjson::internal {
class dom_parser_implementation;
}

namespace GlazeCore::Json {

/// Thrown by the token reader at anything it does not take on trust. The caller then reads the same bytes
/// with the full parser, which finds and names the problem; so this reader never has to name one.
struct NotTrusted {};

/// One forward pass over a padded JSON text without building a document: the parser's first stage finds the
/// structural characters (checking UTF-8, closed strings and control characters on the way), and this walks
/// them, checking the grammar of every value as it goes, the values a caller skips included.
///
/// The first stage runs on one window of about half a megabyte at a time, each ending just after a line feed.
/// A line feed is never inside a string of valid JSON (and a text where it is fails in the window that holds
/// it), so each window starts outside any string and token, as the first stage assumes. The index then stays
/// small and warm whatever the size of the text; a text without line feeds is one window.
///
/// It trusts only what the full parser would read the same way: keys without escapes, integers of at most 18
/// digits, finite numbers, nesting a few levels deep. Anything else throws NotTrusted.
class TokenReader {
public:
    /// Text given to the first stage at once: its index fits the cache and is reused for every window.
    static constexpr std::size_t defaultWindow = std::size_t{512} << 10;

    /// `data` is followed by at least 64 readable bytes: the padding, or more of a text this reads a part of.
    TokenReader(const char* data, std::size_t size, std::size_t window = defaultWindow);
    ~TokenReader();
    TokenReader(const TokenReader&) = delete;
    TokenReader& operator=(const TokenReader&) = delete;

    /// The character that starts the current token; '\0' once every token is read.
    char peek() {
        if (m_token == m_count && !nextWindow()) return '\0';
        return m_window[m_index[m_token]];
    }
    void expect(char c) {
        if (peek() != c) throw NotTrusted{};
        ++m_token;
    }
    bool take(char c) {
        if (peek() != c) return false;
        ++m_token;
        return true;
    }
    bool atEnd() { return m_token == m_count && !nextWindow(); }
    /// Bytes of text from the current token on.
    std::size_t remaining() { return peek() == '\0' ? 0 : m_size - static_cast<std::size_t>(current() - m_text); }

    /// The current token's string; a view of the text, or of `scratch` when it had escapes.
    std::string_view string(std::string& scratch);
    /// A member name: a string without escapes followed by ':'.
    std::string_view key();
    /// The index of the member name among `names` (which hold neither quotes nor backslashes), or N for
    /// another name; compared in place, so a known name is not scanned for its end.
    template <std::size_t N> std::size_t key(const std::array<std::string_view, N>& names) {
        if (peek() != '"') throw NotTrusted{};
        const char* begin = current() + 1;
        for (std::size_t i = 0; i < N; ++i) {
            const std::string_view name = names[i];
            // The quote after a name without quotes or backslashes is the name's end.
            if (begin[name.size()] == '"' && std::memcmp(begin, name.data(), name.size()) == 0) {
                endString(begin + name.size());
                expect(':');
                return i;
            }
        }
        key();
        return N;
    }
    /// The string at the current token when its text is `length` bytes and the caller finds neither quote nor
    /// backslash in them, so they are the whole string; taken by endString().
    const char* stringOfLength(std::size_t length) {
        if (peek() != '"') return nullptr;
        const char* begin = current() + 1;
        return begin[length] == '"' ? begin : nullptr;
    }
    /// Moves past the string whose closing quote is at `quote`.
    void endString(const char* quote) {
        onlySpaceUntilNextToken(quote + 1);
        ++m_token;
    }
    /// Any number; an integer written out is read as the full parser reads it, exactly.
    double number();
    std::int64_t integer();
    bool boolean();
    /// Takes `null` and returns true; false, taking nothing, for any other value.
    bool null();
    /// Reads one value of any kind, checking it as the full parser would.
    void skipValue(int depth = 0);
    /// Passes one value following only its nesting, checking nothing else; returns the offset just past it.
    std::size_t passValue();
    /// The offset in the text of the current token; only after peek() found one.
    std::size_t offset() const { return static_cast<std::size_t>(current() - m_text); }
    const char* text() const { return m_text; }
    std::size_t windowSize() const { return m_windowSize; }

    /// After a value inside a container: true when another follows, false at `close`.
    bool next(char close) {
        if (take(',')) return true;
        expect(close);
        return false;
    }

private:
    struct Number {
        const char* end;
        bool integral;
    };
    /// The first stage over the next window that holds a token; false at the end of the text.
    bool nextWindow();
    /// Where the current token starts; only after peek() found one.
    const char* current() const { return m_window + m_index[m_token]; }
    Number scanNumber(const char* at) const;
    std::int64_t integral(const char* at, const Number& scanned);
    /// Bytes from `from` up to the next token (or the window's end) must be white space.
    void onlySpaceUntilNextToken(const char* from) const;
    const char* nextTokenStart() const { return m_window + m_index[m_token + 1]; }

    const char* m_text;
    std::size_t m_size;
    std::size_t m_windowSize;
    std::size_t m_windowEnd = 0; // offset of the first byte after the current window
    const char* m_window;
    std::unique_ptr<simdjson::internal::dom_parser_implementation> m_parser;
    const std::uint32_t* m_index = nullptr;
    std::uint32_t m_count = 0;
    std::uint32_t m_token = 0;
};

/// How long lists are read: in order by one thread, or in batches of this many items side by side; then, when
/// given, `discardBefore` hears of each offset of the text before which nothing will be read again.
struct LongLists {
    bool shared = false;
    std::size_t batchItems = 256;
    const std::function<void(std::size_t)>* discardBefore = nullptr;
};

/// One value at the reader's current token, for the same typed readers that read a parsed document.
struct Token {
    TokenReader& reader;
    std::string& scratch;
    LongLists longLists = {};

    /// Takes a null; false, taking nothing, for any other value.
    bool is_null() const { return reader.null(); }
};

inline std::string_view readText(Token value, const Path&) {
    return value.reader.string(value.scratch);
}
inline std::string readString(Token value, const Path&) {
    return std::string(value.reader.string(value.scratch));
}
inline double readDouble(Token value, const Path&) {
    return value.reader.number();
}
inline bool readBool(Token value, const Path&) {
    return value.reader.boolean();
}
inline std::int64_t readInteger(Token value, const Path&) {
    return value.reader.integer();
}

// Only the member handling matches the document reader's: a problem the typed readers find throws, and the
// caller reads again to name it.
template <std::size_t N, class OnMember>
void readObject(Token value, const Path& at, const std::array<std::string_view, N>& names, std::uint32_t requiredMask,
                OnMember&& onMember) {
    static_assert(N <= 32);
    TokenReader& reader = value.reader;
    reader.expect('{');
    std::uint32_t seen = 0;
    if (!reader.take('}')) {
        do {
            const std::size_t i = reader.key(names);
            if (i == N) {
                reader.skipValue(1);
                continue;
            }
            if (seen & (1u << i)) throw NotTrusted{};
            seen |= 1u << i;
            onMember(i, value, at.member(names[i]));
        } while (reader.next('}'));
    }
    if (requiredMask & ~seen) throw NotTrusted{};
}

/// Each member's name and value, for objects whose names are data.
template <class OnMember> void readMembers(Token value, const Path&, OnMember&& onMember) {
    TokenReader& reader = value.reader;
    reader.expect('{');
    if (reader.take('}')) return;
    do {
        onMember(reader.key(), value);
    } while (reader.next('}'));
}

/// The items go into a buffer kept for the type, then into `out` in one allocation of the exact size, as the
/// document reader does knowing the count. The buffer is kept only while it is small.
template <class T, class ReadOne> void readArray(Token value, const Path& at, std::vector<T>& out, ReadOne readOne) {
    thread_local std::vector<T> buffer;
    constexpr std::size_t keptItems = 4096;
    TokenReader& reader = value.reader;
    reader.expect('[');
    if (reader.take(']')) return;
    // Nonzero only when a T holds a list of T; whatever happens, the buffer ends as it began.
    const std::size_t start = buffer.size();
    struct Restore {
        std::vector<T>& buffer;
        std::size_t start;
        ~Restore() {
            buffer.resize(start);
            if (start == 0 && buffer.capacity() > keptItems) std::vector<T>().swap(buffer);
        }
    } restore{buffer, start};
    std::size_t i = 0;
    do {
        buffer.push_back(readOne(value, at.item(i)));
        ++i;
    } while (reader.next(']'));
    out.reserve(buffer.size() - start);
    out.assign(std::make_move_iterator(buffer.begin() + static_cast<std::ptrdiff_t>(start)),
               std::make_move_iterator(buffer.end()));
}

/// The items of a long list read side by side: this thread follows only the nesting of the items to cut them
/// into batches, and another reads each batch with a reader of its own over just the batch's bytes, every value
/// checked. A batch that reads as whole items separated by commas, to its last byte, holds exactly the items
/// this thread counted, so the list reads as one reader would read it; any doubt throws NotTrusted.
template <class T, class ReadOne> void readItemsInBatches(Token value, std::vector<T>& out, ReadOne readOne) {
    TokenReader& reader = value.reader;
    const LongLists plan = value.longLists;
    std::deque<std::vector<T>> batches;
    std::deque<std::size_t> begins;
    std::deque<std::atomic<bool>> done;
    std::atomic<bool> failed{false};
    std::size_t firstItem = 0, finished = 0;
    // The text before the first batch not yet read is read for good.
    const auto discardRead = [&] {
        while (finished < done.size() && done[finished])
            ++finished;
        if (plan.discardBefore && finished < begins.size()) (*plan.discardBefore)(begins[finished]);
    };
    {
        Workers workers;
        bool more = true;
        while (more) {
            if (failed) throw NotTrusted{};
            reader.peek();
            const std::size_t begin = reader.offset();
            std::size_t end = begin, count = 0;
            for (;;) {
                end = reader.passValue();
                ++count;
                if (!reader.take(',')) {
                    reader.expect(']');
                    more = false;
                    break;
                }
                if (count == plan.batchItems) break;
            }
            std::vector<T>* batch = &batches.emplace_back();
            std::atomic<bool>* batchDone = &done.emplace_back(false);
            begins.push_back(begin);
            const std::size_t index = firstItem;
            firstItem += count;
            workers.run([&reader, &readOne, &failed, batch, batchDone, begin, end, count, index] {
                try {
                    TokenReader part(reader.text() + begin, end - begin, reader.windowSize());
                    std::string scratch;
                    const Token item{part, scratch};
                    batch->reserve(count);
                    const Path root;
                    for (std::size_t i = 0;; ++i) {
                        batch->push_back(readOne(item, root.item(index + i)));
                        if (part.atEnd()) break;
                        part.expect(',');
                    }
                    *batchDone = true;
                } catch (...) {
                    failed = true;
                }
            });
            discardRead();
        }
        workers.finish();
    }
    if (failed) throw NotTrusted{};
    reader.peek();
    if (plan.discardBefore) (*plan.discardBefore)(reader.offset());
    std::size_t total = out.size();
    for (const std::vector<T>& batch : batches)
        total += batch.size();
    out.reserve(total);
    for (std::vector<T>& batch : batches) {
        out.insert(out.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
        std::vector<T>().swap(batch);
    }
}

/// For lists that may be long: room for as many items as the rest of the text could hold, at most `most`, so
/// the items go straight into place and a long list is never copied; the room left over is given back when
/// it is more than the list. When the plan shares long lists, the items are read in batches side by side.
template <class T, class ReadOne>
void readLongArray(Token value, const Path& at, std::vector<T>& out, ReadOne readOne, std::size_t most,
                   std::size_t smallestItemBytes) {
    TokenReader& reader = value.reader;
    reader.expect('[');
    if (reader.take(']')) return;
    if (value.longLists.shared) return readItemsInBatches(value, out, readOne);
    out.reserve(std::min(most, reader.remaining() / smallestItemBytes + 1));
    std::size_t i = 0;
    do {
        out.push_back(readOne(value, at.item(i)));
        ++i;
    } while (reader.next(']'));
    if (out.capacity() > 2 * out.size()) out.shrink_to_fit();
}

} // namespace GlazeCore::Json
