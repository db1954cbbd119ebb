#pragma once

#include "GlazeCore/book/JsonReadError.h"
#include "GlazeCore/json/JsonPath.h"
#include "GlazeCore/json/Workers.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace GlazeCore::Json {

/// How written text looks where JSON leaves a choice.
struct Style {
    /// Each member and item on a line of its own, two spaces deeper per level, and " : " after a name;
    /// otherwise no white space at all.
    bool indented = false;
    /// "\/" for the solidus.
    bool escapesSolidus = false;
    /// "\b" and "\f" rather than "\u0008" and "\u000c".
    bool shortBackspaceAndFormFeed = false;
    /// The shorter of plain and exponent form, the exponent form past 16 integral digits (which would overflow
    /// 64-bit integer readers); otherwise printf's %g form. Both with the fewest digits that read back.
    bool shortestNumbers = false;
    /// "not a finite number (NaN)" rather than "not a finite number".
    bool namesNonFinite = false;
};

/// Takes written text piece by piece, in order.
using Sink = std::function<void(std::string_view)>;

/// JSON text written into `out`. A string that is not valid UTF-8 or a number that is not finite throws
/// JsonWriteError naming the path.
///
/// With a sink, `out` is handed over and emptied whenever it passes a chunk's size between two items of an
/// array, and once more by finish(), so a large text is never held whole.
class Writer {
public:
    explicit Writer(Style style) : m_style(style) {}
    Writer(Style style, Sink sink, std::size_t chunk) : m_style(style), m_sink(std::move(sink)), m_chunk(chunk) {
        out.reserve(chunk + chunk / 4);
    }

    std::string out;

    /// Hands what is left to the sink.
    void finish() {
        if (m_sink && !out.empty()) handOver();
    }

    /// An object or array under construction at a path; close() writes "{}"/"[]" when nothing went into it.
    class Container {
    public:
        Container(const Container&) = delete;
        Container& operator=(const Container&) = delete;

        /// The next member's name; its value follows. Names are ours: plain ASCII with nothing to escape.
        void member(std::string_view name) {
            item();
            m_writer.out += '"';
            m_writer.out.append(name.data(), name.size());
            const std::string_view colon = m_writer.m_style.indented ? "\" : " : "\":";
            m_writer.out.append(colon.data(), colon.size());
        }
        /// The next item of an array; its value follows.
        void item() {
            m_writer.newline(!m_empty);
            m_empty = false;
        }
        void close() {
            --m_writer.m_depth;
            if (!m_empty) m_writer.newline();
            m_writer.out += m_close;
        }

        void string(std::string_view name, std::string_view text) {
            member(name);
            m_writer.string(text, m_at.member(name));
        }
        void number(std::string_view name, double value) {
            member(name);
            m_writer.number(value, m_at.member(name));
        }
        void integer(std::string_view name, std::int64_t value) {
            member(name);
            m_writer.integer(value);
        }
        void boolean(std::string_view name, bool value) {
            member(name);
            m_writer.boolean(value);
        }
        /// An array member, each item written by `writeOne(writer, item, path)`.
        template <class T, class WriteOne>
        void array(std::string_view name, const std::vector<T>& items, WriteOne writeOne) {
            member(name);
            m_writer.array(items, m_at.member(name), writeOne);
        }

    private:
        friend class Writer;
        Container(Writer& writer, const Path& at, char open, char close) : m_writer(writer), m_at(at), m_close(close) {
            m_writer.out += open;
            ++m_writer.m_depth;
        }

        Writer& m_writer;
        const Path& m_at;
        char m_close;
        bool m_empty = true;
    };

    Container object(const Path& at) { return Container(*this, at, '{', '}'); }
    Container array(const Path& at) { return Container(*this, at, '[', ']'); }

    /// Each item written by `writeOne(writer, item, path)`. With a sink, a long list is written in batches side
    /// by side, each into a text of its own, and handed on in order.
    template <class T, class WriteOne> void array(const std::vector<T>& items, const Path& at, WriteOne writeOne) {
        auto a = array(at);
        if (m_sink && items.size() >= 4 * batchItems && Workers::threads() > 1) {
            writeInBatches(items, at, writeOne);
            a.m_empty = false;
        } else {
            for (std::size_t i = 0; i < items.size(); ++i) {
                a.item();
                writeOne(*this, items[i], at.item(i));
                if (out.size() >= m_chunk) handOver();
            }
        }
        a.close();
    }

    void string(std::string_view text, const Path& at);
    void number(double value, const Path& at);
    void integer(std::int64_t value);
    void boolean(bool value) { out += value ? "true" : "false"; }

private:
    static constexpr std::size_t batchItems = 256;

    // The text of each batch is the same as one writer would write, errors included: a batch's error is thrown
    // when its turn comes, after every item before it went out.
    template <class T, class WriteOne>
    void writeInBatches(const std::vector<T>& items, const Path& at, WriteOne& writeOne) {
        struct Batch {
            std::string text;
            std::exception_ptr error;
            bool done = false;
        };
        const std::size_t count = (items.size() + batchItems - 1) / batchItems;
        const std::size_t ahead = 2 * Workers::threads() + 2; // bounds the text held at once
        std::vector<Batch> batches(count);
        std::mutex lock;
        std::condition_variable ready;
        Workers workers;
        const auto start = [&](std::size_t b) {
            workers.run([&, b] {
                Writer part(m_style);
                part.m_depth = m_depth;
                try {
                    for (std::size_t i = b * batchItems; i < std::min(items.size(), (b + 1) * batchItems); ++i) {
                        part.newline(i != 0);
                        writeOne(part, items[i], at.item(i));
                    }
                } catch (...) {
                    batches[b].error = std::current_exception();
                }
                std::lock_guard guard(lock);
                batches[b].text = std::move(part.out);
                batches[b].done = true;
                ready.notify_all();
            });
        };
        for (std::size_t b = 0; b < std::min(ahead, count); ++b)
            start(b);
        if (!out.empty()) handOver();
        for (std::size_t b = 0; b < count; ++b) {
            std::unique_lock guard(lock);
            ready.wait(guard, [&] { return batches[b].done; });
            guard.unlock();
            if (batches[b].error) std::rethrow_exception(batches[b].error);
            m_sink(batches[b].text);
            std::string().swap(batches[b].text);
            if (b + ahead < count) start(b + ahead);
        }
    }

    Style m_style;
    Sink m_sink;
    std::size_t m_chunk = static_cast<std::size_t>(-1);
    int m_depth = 0;

    void handOver() {
        m_sink(out);
        out.clear();
    }

    /// A comma when asked, then in the indented style a line feed and the indent, in one append: a large book
    /// writes millions of them.
    void newline(bool comma = false) {
        static constexpr std::string_view lineStarts = ",\n                                ";
        const std::size_t indent = static_cast<std::size_t>(m_depth) * 2;
        if (!m_style.indented) {
            if (comma) out += ',';
        } else if (indent + 2 <= lineStarts.size()) {
            const std::string_view start = lineStarts.substr(comma ? 0 : 1, (comma ? 2 : 1) + indent);
            out.append(start.data(), start.size());
        } else {
            if (comma) out += ',';
            out += '\n';
            out.append(indent, ' ');
        }
    }
};

} // namespace GlazeCore::Json
