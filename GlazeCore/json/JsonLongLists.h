#pragma once

#include "GlazeCore/json/JsonTokens.h"
#include "GlazeCore/json/Workers.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

/// The long lists of a text read by the token reader: in order, or in runs of items side by side.
namespace GlazeCore::Json {

/// Where a long list may be cut into runs of items without reading it: before the items that start as its first
/// one does. The first item, and its bytes from its '{' to the end of its first member's name, as every writer that
/// writes one item of a list writes the next; a copy, as the text before the runs read may be given back.
struct ItemStarts {
    std::size_t first;
    std::string head;
};

/// None when the list at `open` does not start with an object whose first member has a short name without escapes.
std::optional<ItemStarts> itemStarts(const TokenText& text, std::size_t open);
/// The first item starting at or after `from`, and before `to`, with `starts.head`, after a '}', a comma and white
/// space; `end` gets the offset just past that '}'. None when there is no such item.
std::optional<std::size_t> nextItemStart(const TokenText& text, const ItemStarts& starts, std::size_t from,
                                         std::size_t to, std::size_t& end);

/// The least room given to the run a long list closes in, which no item start follows.
constexpr std::size_t lastRunBytes = std::size_t{64} << 10;
/// How many runs' length past a run's least length the next item start is looked for. An item longer than that
/// leaves the list to be read in order; so a run stays short whatever follows the list.
constexpr std::size_t farthestItemStart = 8;

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

/// The runs of a long list handed to the reading threads, and what came of them, taken in in order: up to the
/// run in which the list closed, or the first that failed. Only the thread that hands the runs over takes them in.
/// Every member takes the lock: the reading threads note what came of their runs at any time.
template <class T> class ItemRuns {
public:
    using Guard = std::lock_guard<std::mutex>;

    /// Takes in the runs read so far; true once the list closed in a run taken in, or a run failed.
    bool done() {
        Guard guard(m_lock);
        takeIn(guard);
        return m_failed || m_end;
    }

    /// The runs handed over and not yet taken in.
    std::size_t out() {
        Guard guard(m_lock);
        return m_runs.size() - m_takenIn;
    }

    ItemRun<T>& add(std::size_t begin, std::size_t end) {
        Guard guard(m_lock);
        return m_runs.emplace_back(ItemRun<T>{begin, end});
    }

    /// Reads the run, on whichever thread, and notes what came of it.
    template <class ReadOne> void read(const TokenText& text, ItemRun<T>& run, ReadOne readOne) {
        typename ItemRun<T>::State state = ItemRun<T>::State::read;
        try {
            readRun(text, run, readOne);
        } catch (...) {
            state = ItemRun<T>::State::failed;
        }
        Guard guard(m_lock);
        run.state = state;
    }

    /// The offset before which every run was taken in, once one was.
    std::optional<std::size_t> takenInBefore() {
        Guard guard(m_lock);
        if (m_takenIn == 0) return std::nullopt;
        return m_takenIn < m_runs.size() ? m_runs[m_takenIn].begin : m_runs.back().end;
    }

    /// Once every run is back: where the list closed, or none when it did not close in the runs read.
    std::optional<std::size_t> listEnd() {
        Guard guard(m_lock);
        takeIn(guard);
        return m_failed ? std::nullopt : m_end;
    }

    /// The items of the runs taken in since the last call, moved to the end of `out`.
    void moveTakenInTo(std::vector<T>& out) {
        Guard guard(m_lock);
        for (; m_moved < m_takenIn; ++m_moved) {
            std::vector<T>& items = m_runs[m_moved].items;
            out.insert(out.end(), std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
            std::vector<T>().swap(items);
        }
    }

private:
    /// With the lock held, which the guard stands for.
    void takeIn(const Guard&) {
        for (;
             m_takenIn < m_runs.size() && m_runs[m_takenIn].state != ItemRun<T>::State::reading && !m_failed && !m_end;
             ++m_takenIn) {
            m_failed = m_runs[m_takenIn].state == ItemRun<T>::State::failed;
            m_end = m_runs[m_takenIn].listEnd;
        }
    }

    std::deque<ItemRun<T>> m_runs;
    std::mutex m_lock;
    std::size_t m_takenIn = 0;
    std::size_t m_moved = 0;
    std::optional<std::size_t> m_end;
    bool m_failed = false;
};

/// The items of a long list read side by side. This thread cuts the list into runs of about `batchBytes` before
/// items that start as the first one does, looking at a few bytes past each run's least length alone, and checks the
/// commas between the runs; the reading threads, and this one when enough runs are out, read each run as a list of
/// its own, every value checked, and the run in which the list closes says where.
/// The cuts are guesses: a run that does not read as whole items, or items that start otherwise, leave the list to
/// be read in order. Returns the offset just past the list, or none for that.
template <class T, class ReadOne>
std::optional<std::size_t> readRunsSideBySide(const TokenText& text, std::size_t open, std::vector<T>& out,
                                              ReadOne readOne) {
    const std::optional<ItemStarts> starts = itemStarts(text, open);
    if (!starts) return std::nullopt;
    const LongLists& plan = text.longLists;
    const std::size_t least = std::max<std::size_t>(plan.batchBytes, 1);
    const std::size_t reach = std::max(farthestItemStart * least, lastRunBytes);
    // Enough runs out to keep the threads busy, few enough that little is read past the list's end.
    const std::size_t aheadMost = 2 * Workers::threads() + 2;
    ItemRuns<T> runs;
    const std::size_t itemsBefore = out.size();
    bool discarded = false;
    {
        Workers workers;
        std::optional<std::size_t> begin = starts->first;
        while (begin && !runs.done()) {
            runs.moveTakenInTo(out);
            if (const std::optional<std::size_t> read = runs.takenInBefore(); read && plan.discardBefore) {
                (*plan.discardBefore)(*read);
                discarded = true;
            }
            std::size_t runEnd = 0;
            const std::optional<std::size_t> next =
                nextItemStart(text, *starts, *begin + least, *begin + least + reach, runEnd);
            // The last run: the list closes in it, or it is read again in order.
            if (!next) runEnd = partEndOutsideStrings(text, *begin, std::max(2 * plan.batchBytes, lastRunBytes));
            ItemRun<T>& run = runs.add(*begin, runEnd);
            // With enough runs out, this thread reads one itself rather than wait.
            if (runs.out() <= aheadMost)
                workers.run([&text, &readOne, &runs, &run] { runs.read(text, run, readOne); });
            else
                runs.read(text, run, readOne);
            begin = next;
        }
        // Runs not yet started are dropped when the list closed before them.
        if (!begin) workers.finish();
    }
    const std::optional<std::size_t> end = runs.listEnd();
    // Text given back cannot be read in order again; the caller reads the bytes anew.
    if (!end && discarded) throw NotTrusted{};
    if (!end) {
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(itemsBefore), out.end());
        return std::nullopt;
    }
    runs.moveTakenInTo(out);
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
        if (text.longLists.shared) {
            out.reserve(std::min(most, (text.size - open) / smallestItemBytes + 1));
            end = readRunsSideBySide(text, open, out, readOne);
        }
        *source.end = end ? *end : forEachItemInWindows(text, open, readItem);
    }
    if (out.capacity() > 2 * out.size()) out.shrink_to_fit();
}

} // namespace GlazeCore::Json
