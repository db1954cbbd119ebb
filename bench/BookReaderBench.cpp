// Reading a book's bytes, weighed against simdjson's parse of the same bytes by a parser that parsed them once
// before (its memory already its own), at 1,000, 10,000 and 100,000 recipes of 10 lines and as many tiles, laid out
// as Orza writes them (indented), compact, and compact with an item of each list a line.
// x_warm_dom is the decode's time over the parse's, measured in the same run; at 100,000 it must stay within 2.5
// in every layout. Opening reads the long lists of a large book side by side on the reading threads; the one-thread
// decode shows what those threads save. parsed_per_byte is the bytes handed to the parser for each byte of the text.
// BM_DecodeOneLongText reads a book of 1,000 recipes of which one holds a text of 16 or 64 MB (a name, or notes with
// line breaks and quotes to unescape): its time per megabyte and parsed_per_byte must not grow with the text.
#include "BenchBooks.h"
#include "WarmParse.h"
#include "support/BookLayouts.h"

#include "GlazeCore/book/BookJson.h"
#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/book/GlazeBookValidation.h"
#include "GlazeCore/json/TextPart.h"
#include "GlazeCore/json/Workers.h"

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace GlazeCore;

namespace {

using Clock = std::chrono::steady_clock;

enum class Layout { indented, compact, itemALine };

struct Sample {
    std::string bytes;
    Json::PaddedBytes padded;
};

std::string laidOut(std::string written, Layout layout) {
    switch (layout) {
    case Layout::indented:
        return written;
    case Layout::compact:
        return OrzaTest::compactText(written);
    case Layout::itemALine:
        return OrzaTest::compactText(written, "\n", 2);
    }
    return written;
}

const Sample& sample(std::size_t items, Layout layout) {
    static std::map<std::pair<std::size_t, Layout>, Sample> made;
    auto found = made.find({items, layout});
    if (found == made.end()) {
        Sample next{laidOut(GlazeBookCodec::encode(Bench::makeBook(items)), layout), {}};
        next.padded = Json::PaddedBytes::copyOf(next.bytes);
        found = made.emplace(std::pair{items, layout}, std::move(next)).first;
    }
    return found->second;
}

// A pasted text, a line of words at a time; with `escapes`, line breaks and quotes that the file escapes.
std::string longText(std::size_t megabytes, bool escapes) {
    const std::string line = escapes ? "Cone 6 oxidation, \"glossy\" over the rim; crawls thick\n"
                                     : "Cone 6 oxidation, glossy over the rim and crawls when thick ";
    std::string text;
    text.reserve((megabytes << 20) + line.size());
    while (text.size() < (megabytes << 20))
        text += line;
    return text;
}

enum class LongText { recipeName, recipeNotes };

const Sample& longTextSample(std::size_t megabytes, LongText where) {
    static std::map<std::pair<std::size_t, LongText>, Sample> made;
    auto found = made.find({megabytes, where});
    if (found == made.end()) {
        GlazeBook book = Bench::makeBook(1'000);
        if (where == LongText::recipeName)
            book.recipes[500].name = longText(megabytes, false);
        else
            book.recipes[500].notes = longText(megabytes, true);
        Sample next{GlazeBookCodec::encode(book), {}};
        next.padded = Json::PaddedBytes::copyOf(next.bytes);
        found = made.emplace(std::pair{megabytes, where}, std::move(next)).first;
    }
    return found->second;
}

void report(benchmark::State& state, const Sample& sample, Clock::duration elapsed, std::size_t handed) {
    const double mean = Bench::seconds(elapsed) / static_cast<double>(state.iterations());
    state.counters["parsed_per_byte"] =
        static_cast<double>(handed) / static_cast<double>(state.iterations() * sample.bytes.size());
    const double dom = Bench::warmDomParseSeconds(sample.padded);
    state.counters["warm_dom_ms"] = dom * 1e3;
    state.counters["x_warm_dom"] = mean / dom;
    state.counters["ns_per_item"] = mean * 1e9 / static_cast<double>(state.range(0));
    state.counters["file_mb"] = static_cast<double>(sample.bytes.size()) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.bytes.size()));
}

/// Runs `decode` once untimed, so that the memory the book takes is the allocator's to reuse as the parser's
/// memory is the parser's, then times it.
template <class Decode> void measure(benchmark::State& state, Layout layout, Decode decode) {
    const Sample& s = sample(static_cast<std::size_t>(state.range(0)), layout);
    benchmark::DoNotOptimize(decode(s.padded));
    const std::size_t handed = Json::TextPart::handedBytes();
    const auto start = Clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(decode(s.padded));
    report(state, s, Clock::now() - start, Json::TextPart::handedBytes() - handed);
}

// The token pass reading long lists as `longLists` says, and the validation, as decoding does them.
GlazeBook readAndValidate(const Json::PaddedBytes& bytes, const Json::LongLists& longLists) {
    std::optional<GlazeBook> book = BookJson::Readers::tokens(bytes, Json::TokenReader::defaultWindow, longLists);
    if (!book) throw std::runtime_error("the token pass declined the sample book");
    GlazeBookValidation::validate(*book);
    return std::move(*book);
}

// The parse the decoding is weighed against, alone.
void BM_WarmDomParse(benchmark::State& state, Layout layout) {
    const Sample& s = sample(static_cast<std::size_t>(state.range(0)), layout);
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (parser.parse(s.padded.data(), s.padded.size(), false).get(root)) state.SkipWithError("parse failed");
    for (auto _ : state) {
        if (parser.parse(s.padded.data(), s.padded.size(), false).get(root)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(root);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.bytes.size()));
}

// What opening does with the file's bytes: the token pass (side by side for a large book), the validation and the
// tile codes.
void BM_Decode(benchmark::State& state, Layout layout) {
    measure(state, layout, [](const Json::PaddedBytes& bytes) { return GlazeBookCodec::decode(bytes); });
    state.counters["reading_threads"] = static_cast<double>(Json::Workers::threads());
}

// The same reading with every list read in order on the calling thread.
void BM_DecodeOneThread(benchmark::State& state, Layout layout) {
    measure(state, layout, [](const Json::PaddedBytes& bytes) { return readAndValidate(bytes, Json::LongLists{}); });
}

// The same reading with the long lists read in batches side by side, whatever the book's size.
void BM_DecodeSideBySide(benchmark::State& state, Layout layout) {
    measure(state, layout, [](const Json::PaddedBytes& bytes) {
        return readAndValidate(bytes, Json::LongLists{true, Json::LongLists{}.batchBytes});
    });
}

// Opening a book with one very long text, as opening does it.
void BM_DecodeOneLongText(benchmark::State& state, LongText where) {
    const Sample& s = longTextSample(static_cast<std::size_t>(state.range(0)), where);
    benchmark::DoNotOptimize(GlazeBookCodec::decode(s.padded));
    const std::size_t handed = Json::TextPart::handedBytes();
    const auto start = Clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(GlazeBookCodec::decode(s.padded));
    const Clock::duration elapsed = Clock::now() - start;
    const double mean = Bench::seconds(elapsed) / static_cast<double>(state.iterations());
    state.counters["parsed_per_byte"] = static_cast<double>(Json::TextPart::handedBytes() - handed) /
                                        static_cast<double>(state.iterations() * s.bytes.size());
    state.counters["ms_per_text_mb"] = mean * 1e3 / static_cast<double>(state.range(0));
    state.counters["file_mb"] = static_cast<double>(s.bytes.size()) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.bytes.size()));
}

void sizes(benchmark::internal::Benchmark* benchmark) {
    for (const long items : Bench::sizes)
        benchmark->Arg(items);
    benchmark->ArgName("items")->Unit(benchmark::kMillisecond)->MinTime(2);
}

BENCHMARK_CAPTURE(BM_WarmDomParse, indented, Layout::indented)->Apply(sizes);
BENCHMARK_CAPTURE(BM_WarmDomParse, compact, Layout::compact)->Apply(sizes);
BENCHMARK_CAPTURE(BM_WarmDomParse, item_a_line, Layout::itemALine)->Apply(sizes);
BENCHMARK_CAPTURE(BM_Decode, indented, Layout::indented)->Apply(sizes);
BENCHMARK_CAPTURE(BM_Decode, compact, Layout::compact)->Apply(sizes);
BENCHMARK_CAPTURE(BM_Decode, item_a_line, Layout::itemALine)->Apply(sizes);
BENCHMARK_CAPTURE(BM_DecodeOneThread, indented, Layout::indented)->Apply(sizes);
BENCHMARK_CAPTURE(BM_DecodeOneThread, compact, Layout::compact)->Apply(sizes);
BENCHMARK_CAPTURE(BM_DecodeOneThread, item_a_line, Layout::itemALine)->Apply(sizes);
BENCHMARK_CAPTURE(BM_DecodeSideBySide, indented, Layout::indented)->Apply(sizes);
BENCHMARK_CAPTURE(BM_DecodeSideBySide, compact, Layout::compact)->Apply(sizes);
BENCHMARK_CAPTURE(BM_DecodeSideBySide, item_a_line, Layout::itemALine)->Apply(sizes);
BENCHMARK_CAPTURE(BM_DecodeOneLongText, recipe_name, LongText::recipeName)
    ->Arg(16)
    ->Arg(64)
    ->ArgName("text_mb")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_DecodeOneLongText, recipe_notes, LongText::recipeNotes)
    ->Arg(16)
    ->Arg(64)
    ->ArgName("text_mb")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

BENCHMARK_MAIN();
