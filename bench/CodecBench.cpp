// Opening and saving books of 1,000, 10,000 and 100,000 recipes of 10 lines and as many tiles (the largest the
// file allows). Decoding is measured against simdjson's parse of the same bytes with a parser that already
// holds its memory, in the same run; peak memory in a process of its own.
#include "BenchBooks.h"
#include "WarmParse.h"

#include "GlazeCore/book/BookJson.h"
#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/book/GlazeBookValidation.h"

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace GlazeCore;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    GlazeBook book;
    std::string bytes;
    Json::PaddedBytes padded;
    std::string path;
};

std::vector<std::string>& writtenFiles() {
    static std::vector<std::string> paths;
    return paths;
}

const Sample& sample(std::size_t items) {
    static std::map<std::size_t, Sample> made;
    auto found = made.find(items);
    if (found == made.end()) {
        Sample next{Bench::makeBook(items), {}, {}, {}};
        next.bytes = GlazeBookCodec::encode(next.book);
        next.padded = Json::PaddedBytes::copyOf(next.bytes);
        next.path = Bench::writeTemporary(next.bytes, "codec");
        writtenFiles().push_back(next.path);
        found = made.emplace(items, std::move(next)).first;
    }
    return found->second;
}

/// The whole file read straight into a padded buffer, in parts side by side, as the application reads it.
Json::PaddedBytes readFile(const char* path) {
    const int file = open(path, O_RDONLY);
    struct stat status {};
    if (file < 0 || fstat(file, &status) != 0) return {};
    Json::PaddedBytes bytes(static_cast<std::size_t>(status.st_size));
    bytes.shrink(bytes.readFrom(file));
    close(file);
    return bytes;
}

// In a process of its own, so that nothing earlier in this one hides the peak or warms the memory: read the
// file, decode it with `reader`, and print the seconds of each and the peak growth of each, in bytes.
int openChild(const char* path, const char* reader) {
    const long start = Bench::peakResidentBytes();
    const auto began = Clock::now();
    Json::PaddedBytes bytes = readFile(path);
    const auto read = Clock::now();
    const long afterRead = Bench::peakResidentBytes();
    if (std::strcmp(reader, "tokens") == 0) {
        // As the application opens: the file's pages go back as the book is made.
        benchmark::DoNotOptimize(GlazeBookCodec::decode(bytes, [&] { return readFile(path); }));
    } else {
        simdjson::dom::parser parser;
        const GlazeBook book = BookJson::Readers::document(bytes, parser);
        GlazeBookValidation::validate(book);
    }
    const auto decoded = Clock::now();
    const long afterDecode = Bench::peakResidentBytes();
    std::printf("%f %f %ld %ld\n", Bench::seconds(read - began), Bench::seconds(decoded - read), afterRead - start,
                afterDecode - afterRead);
    return 0;
}

struct Opened {
    double readSeconds = -1, decodeSeconds = -1;
    double fileGrowth = -1, decodeGrowth = -1;
};

Opened openInOwnProcess(const std::string& path, const char* reader) {
    Opened opened;
    // Appended piece by piece: GCC 12 warns falsely on string concatenation here at -O3.
    std::string command = "'";
    for (const std::string& piece : {Bench::selfPath(), std::string("' --open-child '"), path, std::string("' ")})
        command += piece;
    command += reader;
    if (std::FILE* child = popen(command.c_str(), "r")) {
        long fileGrowth = 0, decodeGrowth = 0;
        if (std::fscanf(child, "%lf %lf %ld %ld", &opened.readSeconds, &opened.decodeSeconds, &fileGrowth,
                        &decodeGrowth) == 4) {
            opened.fileGrowth = static_cast<double>(fileGrowth);
            opened.decodeGrowth = static_cast<double>(decodeGrowth);
        }
        pclose(child);
    }
    return opened;
}

void reportOpen(benchmark::State& state, const Sample& sample, const char* reader) {
    // The middle one of three opens by decode time: fresh memory costs vary from run to run.
    std::vector<Opened> runs;
    for (int i = 0; i < 3; ++i)
        runs.push_back(openInOwnProcess(sample.path, reader));
    std::sort(runs.begin(), runs.end(),
              [](const Opened& a, const Opened& b) { return a.decodeSeconds < b.decodeSeconds; });
    const Opened& opened = runs[1];
    const auto size = static_cast<double>(sample.bytes.size());
    state.counters["fresh_read_ms"] = opened.readSeconds * 1e3;
    state.counters["fresh_decode_ms"] = opened.decodeSeconds * 1e3;
    // Peak growth while decoding, over the file's size; and of the whole open, the file's buffer included.
    state.counters["decode_peak_x_file"] = opened.decodeGrowth / size;
    state.counters["open_peak_x_file"] = (opened.fileGrowth + opened.decodeGrowth) / size;
}

// Time per item, which stays flat while cost grows with the book and no faster.
void reportPerItem(benchmark::State& state, const Sample& sample, Clock::duration elapsed) {
    const double mean = Bench::seconds(elapsed) / static_cast<double>(state.iterations());
    state.counters["ns_per_item"] = mean * 1e9 / static_cast<double>(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.bytes.size()));
    state.counters["file_mb"] = static_cast<double>(sample.bytes.size()) / 1e6;
}

void reportRatio(benchmark::State& state, const Sample& sample, Clock::duration elapsed) {
    reportPerItem(state, sample, elapsed);
    const double mean = Bench::seconds(elapsed) / static_cast<double>(state.iterations());
    state.counters["x_warm_parse"] = mean / Bench::warmDomParseSeconds(sample.padded);
}

// --- Parsing alone ------------------------------------------------------------------------------------------------

void BM_ParseFreshParser(benchmark::State& state) {
    const Sample& s = sample(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        simdjson::dom::parser parser; // all its memory new, as every open before had it
        simdjson::dom::element root;
        if (parser.parse(s.padded.data(), s.padded.size(), false).get(root)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(root);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.bytes.size()));
}

// The parser's speed alone: its memory allocated and written by a parse before the timing starts.
void BM_ParseWarmParser(benchmark::State& state) {
    const Sample& s = sample(static_cast<std::size_t>(state.range(0)));
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (parser.parse(s.padded.data(), s.padded.size(), false).get(root)) state.SkipWithError("parse failed");
    for (auto _ : state) {
        if (parser.parse(s.padded.data(), s.padded.size(), false).get(root)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(root);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.bytes.size()));
}

// --- Decoding -----------------------------------------------------------------------------------------------------

// What opening does: the token pass over the file's buffer, the validation and the tile codes.
void BM_Decode(benchmark::State& state) {
    const Sample& s = sample(static_cast<std::size_t>(state.range(0)));
    // Once before the timing, as the parser it is weighed against parsed once: the memory the book takes is then
    // the allocator's to reuse, and what a first open pays for it shows in fresh_decode_ms.
    benchmark::DoNotOptimize(GlazeBookCodec::decode(s.padded));
    const auto start = Clock::now();
    for (auto _ : state) {
        auto decoded = GlazeBookCodec::decode(s.padded);
        benchmark::DoNotOptimize(decoded);
    }
    reportRatio(state, s, Clock::now() - start);
    reportOpen(state, s, "tokens");
}

// The alternative weighed against it: the document reader with a parser kept from one decode to the next.
void BM_DecodeKeptDocumentParser(benchmark::State& state) {
    const Sample& s = sample(static_cast<std::size_t>(state.range(0)));
    simdjson::dom::parser parser;
    benchmark::DoNotOptimize(BookJson::Readers::document(s.padded, parser));
    const auto start = Clock::now();
    for (auto _ : state) {
        const GlazeBook book = BookJson::Readers::document(s.padded, parser);
        GlazeBookValidation::validate(book);
        benchmark::DoNotOptimize(book);
    }
    reportRatio(state, s, Clock::now() - start);
    reportOpen(state, s, "document");
}

// --- Saving -------------------------------------------------------------------------------------------------------

// What saving does before the file system: the validation, then the text in pieces handed on as they are made.
void BM_Encode(benchmark::State& state) {
    const Sample& s = sample(static_cast<std::size_t>(state.range(0)));
    const auto start = Clock::now();
    for (auto _ : state)
        GlazeBookCodec::encode(s.book, s.book.version, s.book.nextTileNumber,
                               [](std::string_view piece) { benchmark::DoNotOptimize(piece.data()); });
    reportPerItem(state, s, Clock::now() - start);
}

// The whole text in one string, as saving made it before.
void BM_EncodeWhole(benchmark::State& state) {
    const Sample& s = sample(static_cast<std::size_t>(state.range(0)));
    const auto start = Clock::now();
    for (auto _ : state) {
        std::string bytes = GlazeBookCodec::encode(s.book);
        benchmark::DoNotOptimize(bytes);
    }
    reportPerItem(state, s, Clock::now() - start);
}

// Saving into a file: the pieces written as they come (the application also syncs and renames the file).
void BM_SaveToFile(benchmark::State& state) {
    const Sample& s = sample(static_cast<std::size_t>(state.range(0)));
    const std::string path = s.path + ".saved";
    const auto start = Clock::now();
    for (auto _ : state) {
        const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        GlazeBookCodec::encode(s.book, s.book.version, s.book.nextTileNumber, [&](std::string_view piece) {
            if (write(file, piece.data(), piece.size()) != static_cast<ssize_t>(piece.size()))
                state.SkipWithError("write failed");
        });
        close(file);
    }
    reportPerItem(state, s, Clock::now() - start);
    unlink(path.c_str());
}

void sizes(benchmark::internal::Benchmark* benchmark) {
    for (const long items : Bench::sizes)
        benchmark->Arg(items);
    // Long enough for several rounds of the largest book.
    benchmark->ArgName("items")->Unit(benchmark::kMillisecond)->MinTime(2);
}

BENCHMARK(BM_ParseFreshParser)->Apply(sizes);
BENCHMARK(BM_ParseWarmParser)->Apply(sizes);
BENCHMARK(BM_Decode)->Apply(sizes);
BENCHMARK(BM_DecodeKeptDocumentParser)->Apply(sizes);
BENCHMARK(BM_Encode)->Apply(sizes);
BENCHMARK(BM_EncodeWhole)->Apply(sizes);
BENCHMARK(BM_SaveToFile)->Apply(sizes);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--open-child") == 0) return openChild(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& path : writtenFiles())
        unlink(path.c_str());
    return 0;
}
