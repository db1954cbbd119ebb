#pragma once

#include "GlazeCore/json/JsonPath.h"
#include "GlazeCore/json/TextPart.h"
#include "GlazeCore/json/Workers.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// One forward pass over a padded JSON text through the parser's On-Demand interface, without building a
/// document: every value is checked as the full parser checks it, the values a caller skips included.
///
/// The outermost containers are read a window at a time: each window is a part of the text of about half a
/// megabyte (TextPart), ending just after a line feed, with as many whole elements of the container as it holds.
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

/// The index among `names` (which hold neither quotes nor backslashes) of the member whose name starts at
/// `name` and whose value is `member`, or N for another name. A known name is compared in place, so it is not
/// scanned for its end.
template <std::size_t N>
std::size_t memberIndex(const char* name, Token member, const std::array<std::string_view, N>& names) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::string_view known = names[i];
        // The quote after a name without quotes or backslashes is the name's end.
        if (name[known.size()] == '"' && std::memcmp(name, known.data(), known.size()) == 0) {
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
/// element is followed by one starting at that element, twice as long when that is where the last one started.
/// Returns the offset just past the container.
template <class ReadWindow>
std::size_t readInWindows(const TokenText& text, std::size_t open, ReadWindow&& readWindow) {
    const char opening = text.data[open];
    const char closing = opening == '{' ? '}' : ']';
    WindowPlace place{open + 1, true};
    std::size_t window = text.window;
    std::size_t lastStart = open;
    for (;;) {
        std::size_t from = place.offset;
        if (!place.atElement) {
            from = skipSpace(text, from);
            if (text.data[from] == closing) return from + 1;
            if (text.data[from] != ',') throw NotTrusted{};
            // An element follows the comma; the part would read a close there as an empty container.
            from = skipSpace(text, from + 1);
            if (text.data[from] == closing) throw NotTrusted{};
        }
        if (from != lastStart)
            window = text.window;
        else if (window < text.size)
            window *= 2;
        lastStart = from;
        TextPart part(text, opening, from, partEnd(text, from, window));
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
        seen |= 1u << i;
        onMember(i, member, at.member(names[i]));
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

/// Where a long list may be cut into runs of items without reading it: at the lines that start an item. The
/// first item, and the white space before it on its line, which starts the line of every item; a copy, as the
/// text before the runs read may be given back.
struct ItemLines {
    std::size_t first;
    std::string indent;
};

/// None when the items of the list at `open` do not start lines of their own, or there are none.
std::optional<ItemLines> itemLines(const TokenText& text, std::size_t open);
/// The first item at or after `from` on a line of `lines.indent` and '{', after a '}', a comma and white space;
/// `end` gets the offset just past that '}'. None when there is no such item.
std::optional<std::size_t> nextItemStart(const TokenText& text, const ItemLines& lines, std::size_t from,
                                         std::size_t& end);

/// The least room given to the run a long list closes in, which no line that starts an item follows.
constexpr std::size_t lastRunBytes = std::size_t{64} << 10;

/// A run of a long list's items, read as a list of its own by another thread.
template <class T> struct ItemRun {
    enum class State { reading, read, failed };
    std::size_t begin;
    std::size_t end;
    std::vector<T> items = {};
    /// Where the list closed inside the run, just past its ']'; none when the run ends with its last item.
    std::optional<std::size_t> listEnd = std::nullopt;
    State state = State::reading;
};

/// Reads the run's items, every value checked, and where the list closed in it.
template <class T, class ReadOne> void readRun(const TokenText& text, ItemRun<T>& run, ReadOne readOne) {
    TextPart part(text, '[', run.begin, run.end, ']');
    const Path root;
    std::size_t close = 0;
    forEachItem(Token{&part.root(), part.source()}, [&](Token item) {
        run.items.push_back(readOne(item, root.item(run.items.size())));
        close = part.nextOffset();
    });
    if (close == run.end) return;
    if (close > run.end || text.data[close] != ']') throw NotTrusted{};
    run.listEnd = close + 1;
}

/// The items of a long list read side by side. This thread cuts the list into runs of about `batchBytes` at the
/// lines that start items, looking at those lines alone, and checks the commas between the runs; other threads
/// read each run as a list of its own, every value checked, and the run in which the list closes says where.
/// The cuts are guesses: a run that does not read as whole items, or items that do not start lines of their
/// own, leave the list to be read in order. Returns the offset just past the list, or none for that.
template <class T, class ReadOne>
std::optional<std::size_t> readRunsSideBySide(const TokenText& text, std::size_t open, std::vector<T>& out,
                                              ReadOne readOne) {
    const std::optional<ItemLines> lines = itemLines(text, open);
    if (!lines) return std::nullopt;
    const LongLists& plan = text.longLists;
    // Runs handed over and not yet taken in: enough to keep the threads busy, few enough that little is read past
    // the list's end.
    const std::size_t aheadMost = 2 * Workers::threads() + 2;
    std::deque<ItemRun<T>> runs;
    std::mutex lock;
    std::condition_variable changed;
    std::size_t takenIn = 0;
    std::optional<std::size_t> end;
    bool failed = false, discarded = false;
    // Takes in, in order, the runs read so far; under the lock.
    const auto takeIn = [&] {
        for (; takenIn < runs.size() && runs[takenIn].state != ItemRun<T>::State::reading && !failed && !end;
             ++takenIn) {
            failed = runs[takenIn].state == ItemRun<T>::State::failed;
            end = runs[takenIn].listEnd;
        }
    };
    {
        Workers workers;
        std::optional<std::size_t> begin = lines->first;
        while (begin) {
            {
                std::unique_lock guard(lock);
                takeIn();
                while (!failed && !end && runs.size() - takenIn >= aheadMost) {
                    changed.wait(guard);
                    takeIn();
                }
                if (failed || end) break;
            }
            if (plan.discardBefore && takenIn > 0) {
                // The text before the first run not yet taken in is read for good.
                (*plan.discardBefore)(takenIn < runs.size() ? runs[takenIn].begin : runs.back().end);
                discarded = true;
            }
            std::size_t runEnd = 0;
            const std::optional<std::size_t> next =
                nextItemStart(text, *lines, *begin + std::max<std::size_t>(plan.batchBytes, 1), runEnd);
            // The last run: the list closes in it, or it is read again in order.
            if (!next) runEnd = partEnd(text, *begin, std::max(2 * plan.batchBytes, lastRunBytes));
            ItemRun<T>* run;
            {
                std::lock_guard guard(lock);
                run = &runs.emplace_back(ItemRun<T>{*begin, runEnd});
            }
            workers.run([&text, &readOne, &lock, &changed, run] {
                typename ItemRun<T>::State state = ItemRun<T>::State::read;
                try {
                    readRun(text, *run, readOne);
                } catch (...) {
                    state = ItemRun<T>::State::failed;
                }
                std::lock_guard guard(lock);
                run->state = state;
                changed.notify_all();
            });
            begin = next;
        }
        if (!failed && !end) workers.finish();
    }
    takeIn();
    if (failed || !end) {
        // Read in order what was given back: the caller reads the bytes anew.
        if (discarded) throw NotTrusted{};
        return std::nullopt;
    }
    std::size_t total = out.size();
    for (std::size_t i = 0; i < takenIn; ++i)
        total += runs[i].items.size();
    out.reserve(total);
    for (std::size_t i = 0; i < takenIn; ++i) {
        std::vector<T>& items = runs[i].items;
        out.insert(out.end(), std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
        std::vector<T>().swap(items);
    }
    if (plan.discardBefore) (*plan.discardBefore)(*end);
    return end;
}

/// For lists that may be long: room for as many items as the rest of the text could hold, at most `most`, so
/// the items go straight into place and a long list is never copied; the room left over is given back when
/// it is more than the list. A list of the text's outermost object is read a window at a time, and when the
/// plan shares long lists, in runs side by side.
template <class T, class ReadOne>
void readLongArray(Token value, const Path& at, std::vector<T>& out, ReadOne readOne, std::size_t most,
                   std::size_t smallestItemBytes) {
    const TokenSource& source = *value.source;
    const TokenText& text = *source.text;
    const std::size_t open = value.value ? source.part->offsetOf(tokenText(value).data()) : skipSpace(text, 0);
    auto readItem = [&, i = std::size_t{0}](Token item) mutable {
        if (i == 0) out.reserve(std::min(most, (text.size - open) / smallestItemBytes + 1));
        out.push_back(readOne(item, at.item(i)));
        ++i;
    };
    if (!source.end) {
        forEachItem(value, readItem);
    } else {
        if (text.data[open] != '[') throw NotTrusted{};
        std::optional<std::size_t> end;
        if (text.longLists.shared) end = readRunsSideBySide(text, open, out, readOne);
        *source.end = end ? *end : forEachItemInWindows(text, open, readItem);
    }
    if (out.capacity() > 2 * out.size()) out.shrink_to_fit();
}

} // namespace GlazeCore::Json
