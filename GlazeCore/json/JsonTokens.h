#pragma once

#include "GlazeCore/json/JsonPath.h"
#include "GlazeCore/json/TextPart.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

/// One forward pass over a padded JSON text through the parser's On-Demand interface, without building a
/// document: every value is checked as the full parser checks it, the values a caller skips included.
///
/// The outermost containers are read a window at a time: each window is a part of the text of about half a
/// megabyte (TextPart), ending between two tokens, with as many whole elements of the container as it holds.
/// An element the window cuts off is read again at the start of the next one. So the parser's index stays small
/// and warm whatever the size of the text.
///
/// It trusts only what the full parser would read the same way: names without escapes, integers of at most 18
/// digits, finite numbers, nesting a few levels deep. Anything else throws NotTrusted.
namespace GlazeCore::Json {

/// One value of a text read by the token reader, for the same typed readers that read a parsed document. Two
/// pointers, so that it passes in registers.
struct Token {
    /// The value in its part; none for a container of the text read a window at a time.
    simdjson::ondemand::value* value;
    const TokenSource* source;

    /// Takes a null; false, taking nothing, for any other value.
    bool is_null() const;
};

/// A whole padded text, read a window of `window` bytes at a time with long lists read as `longLists` says.
class TokenReader {
public:
    static constexpr std::size_t defaultWindow = std::size_t{512} << 10;

    TokenReader(const char* data, std::size_t size, std::size_t window, LongLists longLists);
    TokenReader(const TokenReader&) = delete;
    TokenReader& operator=(const TokenReader&) = delete;

    /// The container the text holds, to be read once.
    Token root();
    /// Whether nothing but white space follows the root, once read.
    bool atEnd() const;

private:
    TokenText m_text;
    std::size_t m_end;
    TokenSource m_source;
};

inline bool isJsonSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// The helpers below run for nearly every token of a large file, so they stay inline.

/// The token's text: from its first byte to the next token's, white space included.
inline std::string_view tokenText(Token value) {
    if (!value.value) throw NotTrusted{};
    const std::string_view token = value.value->raw_json_token();
    if (token.empty()) throw NotTrusted{};
    return token;
}

/// Throws NotTrusted unless the bytes [from, to) are white space.
inline void onlySpace(const char* from, const char* to) {
    if (from > to) throw NotTrusted{};
    for (; from < to; ++from)
        if (!isJsonSpace(*from)) throw NotTrusted{};
}

/// Throws NotTrusted unless [from, value) is white space, a colon and white space.
inline void onlyColonUntil(const char* from, Token value) {
    const char* valueStart = tokenText(value).data();
    while (from < valueStart && isJsonSpace(*from))
        ++from;
    if (from >= valueStart || *from != ':') throw NotTrusted{};
    onlySpace(from + 1, valueStart);
}

/// The offset of the first byte at or after `from` that is not white space.
std::size_t skipSpace(const TokenText& text, std::size_t from);
/// The first '"' or '\\' in [from, limit), else limit. Reads up to 7 bytes past `limit`, inside the padding.
const char* quoteOrBackslash(const char* from, const char* limit);

/// The string at `value`: a view of the part it was read from, or of the part's parser when it had escapes;
/// good until this thread reads the next part.
std::string_view readText(Token value, const Path&);
inline std::string readString(Token value, const Path& at) {
    return std::string(readText(value, at));
}
/// Any number; an integer written out is read as the full parser reads it, exactly.
double readDouble(Token value, const Path&);
bool readBool(Token value, const Path&);
std::int64_t readInteger(Token value, const Path&);
/// Reads one value of any kind, checking it as the full parser would.
void skipValue(Token value, int depth = 0);
/// The string at `value` when its text is `length` bytes and the caller finds neither quote nor backslash in
/// them, so they are the whole string; taken by endString().
const char* stringOfLength(Token value, std::size_t length);
/// Takes the string at `value`, whose closing quote is at `quote`.
void endString(Token value, const char* quote);

/// The object or array at `value`, started.
simdjson::ondemand::object startObject(Token value);
simdjson::ondemand::array startArray(Token value);

/// The name starting at `name` (just past its opening quote) when it has no escapes, checked up to the value
/// `member`.
std::string_view memberName(const char* name, Token member);

/// Whether `text` starts with `prefix`; byte by byte, as names are short and most differ at once.
inline bool startsWith(const char* text, std::string_view prefix) {
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (text[i] != prefix[i]) return false;
    return true;
}

/// The index among `names` (which hold neither quotes nor backslashes) of the member whose name starts at
/// `name` and whose value is `member`, or N for another name. A known name is compared in place, so it is not
/// scanned for its end.
template <std::size_t N>
std::size_t memberIndex(const char* name, Token member, const std::array<std::string_view, N>& names) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::string_view known = names[i];
        // The quote after a name without quotes or backslashes is the name's end.
        if (name[known.size()] == '"' && startsWith(name, known)) {
            onlyColonUntil(name + known.size() + 1, member);
            return i;
        }
    }
    memberName(name, member);
    return N;
}

/// Where reading a container a window at a time goes on: at an element, or past the one read last.
struct WindowPlace {
    std::size_t offset;
    bool atElement;
};

/// The offset just past `value` when it is a scalar, which the iteration may leave untaken; else none.
std::size_t scalarEnd(Token value);

/// Reads the container whose opening byte is at `open` a window at a time. `readWindow(part, place)` reads
/// the elements of a window from its root, keeping `place` after each, and returns whether the container
/// closed in it: false when an element was read past the window, as `place` says. A window that ends inside an
/// element is followed by one starting at that element; when that is where the last one started, the element is
/// longer than a window, and the next reaches at least to its end (twice as far as the last at the least). So an
/// element is read at most three times whatever its length, and reading one must keep nothing from a try the
/// window cut short. Returns the offset just past the container.
template <class ReadWindow>
std::size_t readInWindows(const TokenText& text, std::size_t open, ReadWindow&& readWindow) {
    const char opening = text.data[open];
    const char closing = opening == '{' ? '}' : ']';
    WindowPlace place{open + 1, true};
    std::size_t window = text.window;
    std::size_t lastStart = open;
    for (;;) {
        // At the first element itself, so that a window the first cuts off is seen to start where the next does.
        std::size_t from = skipSpace(text, place.offset);
        if (!place.atElement) {
            if (text.data[from] == closing) return from + 1;
            if (text.data[from] != ',') throw NotTrusted{};
            // An element follows the comma; the part would read a close there as an empty container.
            from = skipSpace(text, from + 1);
            if (text.data[from] == closing) throw NotTrusted{};
        }
        if (from != lastStart)
            window = text.window;
        else if (window < text.size)
            window = std::max(2 * window, elementEnd(text, from) - from);
        lastStart = from;
        TextPart part(text, opening, from, AtLeast{window});
        try {
            if (readWindow(part, place)) return part.nextOffset();
        } catch (const NotTrusted&) {
            if (part.holdsRest() || !part.stoppedAtCut()) throw;
        }
    }
}

template <class OnMember>
std::size_t forEachMemberInWindows(const TokenText& text, std::size_t open, OnMember& onMember) {
    return readInWindows(text, open, [&](TextPart& part, WindowPlace& place) {
        simdjson::ondemand::object object = startObject(Token{&part.root(), part.source()});
        std::size_t escaped;
        const TokenSource members{&text, &part, &escaped};
        for (auto result : object) {
            if (result.error() != simdjson::SUCCESS) throw NotTrusted{};
            simdjson::ondemand::field& field = result.value_unsafe();
            const char* name = field.key().raw();
            place = {part.offsetOf(name - 1), true};
            escaped = static_cast<std::size_t>(-1);
            const Token member{&field.value(), &members};
            const std::size_t scalar = scalarEnd(member);
            onMember(name, member);
            if (escaped != static_cast<std::size_t>(-1)) {
                place = {escaped, false};
                return false;
            }
            place = {scalar != static_cast<std::size_t>(-1) ? scalar : part.nextOffset(), false};
        }
        return true;
    });
}

template <class OnItem> std::size_t forEachItemInWindows(const TokenText& text, std::size_t open, OnItem&& onItem) {
    return readInWindows(text, open, [&](TextPart& part, WindowPlace& place) {
        simdjson::ondemand::array array = startArray(Token{&part.root(), part.source()});
        for (auto result : array) {
            if (result.error() != simdjson::SUCCESS) throw NotTrusted{};
            const Token item{&result.value_unsafe(), part.source()};
            place = {part.offsetOf(tokenText(item).data()), true};
            const std::size_t scalar = scalarEnd(item);
            onItem(item);
            place = {scalar != static_cast<std::size_t>(-1) ? scalar : part.nextOffset(), false};
        }
        return true;
    });
}

/// Each member of the object at `value`, as its name's first byte and its value.
template <class OnMember> void forEachMember(Token value, OnMember&& onMember) {
    const TokenSource& source = *value.source;
    if (!value.value) {
        *source.end = forEachMemberInWindows(*source.text, skipSpace(*source.text, 0), onMember);
        return;
    }
    simdjson::ondemand::object object = startObject(value);
    for (auto result : object) {
        if (result.error() != simdjson::SUCCESS) throw NotTrusted{};
        simdjson::ondemand::field& field = result.value_unsafe();
        onMember(field.key().raw(), Token{&field.value(), source.part->source()});
    }
}

/// Each item of the array at `value`, read in its part.
template <class OnItem> void forEachItem(Token value, OnItem&& onItem) {
    simdjson::ondemand::array array = startArray(value);
    for (auto result : array) {
        if (result.error() != simdjson::SUCCESS) throw NotTrusted{};
        onItem(Token{&result.value_unsafe(), value.source->part->source()});
    }
}

// Only the member handling matches the document reader's: a problem the typed readers find throws, and the
// caller reads again to name it.
template <std::size_t N, class OnMember>
void readObject(Token value, const Path& at, const std::array<std::string_view, N>& names, std::uint32_t requiredMask,
                OnMember&& onMember) {
    static_assert(N <= 32);
    std::uint32_t seen = 0;
    forEachMember(value, [&](const char* name, Token member) {
        const std::size_t i = memberIndex(name, member, names);
        if (i == N) {
            skipValue(member, 1);
            return;
        }
        if (seen & (1u << i)) throw NotTrusted{};
        onMember(i, member, at.member(names[i]));
        // Only now: a member a window cut off is read again in the next one.
        seen |= 1u << i;
    });
    if (requiredMask & ~seen) throw NotTrusted{};
}

/// Each member's name and value, for objects whose names are data.
template <class OnMember> void readMembers(Token value, const Path&, OnMember&& onMember) {
    forEachMember(value, [&](const char* name, Token member) { onMember(memberName(name, member), member); });
}

/// The items go into a buffer kept for the type, then into `out` in one allocation of the exact size, as the
/// document reader does knowing the count. The buffer is kept only while it is small.
template <class T, class ReadOne> void readArray(Token value, const Path& at, std::vector<T>& out, ReadOne readOne) {
    thread_local std::vector<T> buffer;
    constexpr std::size_t keptItems = 4096;
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
    forEachItem(value, [&](Token item) {
        buffer.push_back(readOne(item, at.item(i)));
        ++i;
    });
    if (i == 0) return;
    out.reserve(buffer.size() - start);
    out.assign(std::make_move_iterator(buffer.begin() + static_cast<std::ptrdiff_t>(start)),
               std::make_move_iterator(buffer.end()));
}

} // namespace GlazeCore::Json
