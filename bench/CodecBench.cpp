// Opening and saving a book at the largest size the validation allows: 100,000 recipes of 10 lines and
// 100,000 tiles. Decoding is measured against a bare simdjson parse of the same bytes.
#include "GlazeCore/book/BookJson.h"
#include "GlazeCore/book/GlazeBookCodec.h"

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

using namespace GlazeCore;

namespace {

constexpr std::size_t recipeCount = 100'000;
constexpr std::size_t linesPerRecipe = 10;
constexpr std::size_t tileCount = 100'000;

GlazeBook makeBook() {
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> amount(0.5, 60.0);
    GlazeBook book;
    book.version = 2;
    book.nextTileNumber = static_cast<std::int64_t>(tileCount) + 1;

    for (int m = 0; m < 50; ++m)
        book.customMaterials.push_back(
            {"custom-material-" + std::to_string(m),
             "Local clay " + std::to_string(m),
             {{Oxide::SiO2, 60.5}, {Oxide::Al2O3, 20.25}, {Oxide::K2O, 3.1}, {Oxide::Fe2O3, 1.75}, {Oxide::CaO, 0.4}},
             8.5,
             "lab sheet 2023/11"});

    book.recipes.reserve(recipeCount);
    for (std::size_t r = 0; r < recipeCount; ++r) {
        Recipe recipe{Uuid::random(), "Recipe " + std::to_string(r), "6", {}, r % 4 == 0 ? "sieve twice" : ""};
        recipe.lines.reserve(linesPerRecipe);
        for (std::size_t l = 0; l < linesPerRecipe; ++l)
            recipe.lines.push_back(
                {Uuid::random(), "custom-material-" + std::to_string((r + l) % 50), amount(random), l >= 8});
        book.recipes.push_back(std::move(recipe));
    }

    book.tests.reserve(tileCount);
    for (std::size_t t = 0; t < tileCount; ++t) {
        TestTile tile;
        tile.id = Uuid::random();
        tile.recipeID = book.recipes[t % recipeCount].id;
        tile.cone = "6";
        tile.atmosphere = t % 3 == 0 ? "reduction" : "oxidation";
        tile.schedule = {{150, 600, 0}, {300, 1222, 10}, {-100, 900, 30}};
        tile.notes = t % 5 == 0 ? "crawled at the rim" : "";
        if (t % 10 == 0) {
            tile.photoBookmark = Bytes(96);
            for (auto& byte : *tile.photoBookmark)
                byte = static_cast<std::uint8_t>(random());
        }
        tile.date = std::chrono::sys_days{std::chrono::year{2024} / 1 / 1} + std::chrono::seconds{t * 600};
        tile.code = TileCode::defaultCode(static_cast<std::int64_t>(t) + 1);
        book.tests.push_back(std::move(tile));
    }
    return book;
}

const GlazeBook& sampleBook() {
    static const GlazeBook book = makeBook();
    return book;
}

const std::string& sampleBytes() {
    static const std::string bytes = GlazeBookCodec::encode(sampleBook());
    return bytes;
}

long maxRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Run in a fresh process so that nothing earlier in this one (the generated book, freed heap) hides the peak:
// read the file, note the high-water mark, decode, note it again. Prints the growth in bytes.
int measurePeakChild(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return 1;
    std::fseek(file, 0, SEEK_END);
    std::string bytes(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::fseek(file, 0, SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return 1;
    std::fclose(file);
    const long before = maxRssKiB();
    const auto decoded = GlazeBookCodec::decode(bytes);
    benchmark::DoNotOptimize(decoded);
    const long after = maxRssKiB();
    std::printf("%ld\n", (after - before) * 1024);
    return 0;
}

// Peak growth of one decode, in bytes, or -1 when the child could not be run.
double peakDecodeBytes() {
    char path[] = "/tmp/orza-codec-bench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return -1;
    const std::string& bytes = sampleBytes();
    const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(fd);
    double peak = -1;
    if (written) {
        char self[4096];
        const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
        if (length > 0) {
            self[length] = '\0';
            const std::string command = std::string("'") + self + "' --peak-rss-child '" + path + "'";
            if (std::FILE* child = popen(command.c_str(), "r")) {
                long grown = 0;
                if (std::fscanf(child, "%ld", &grown) == 1) peak = static_cast<double>(grown);
                if (pclose(child) != 0) peak = -1;
            }
        }
    }
    unlink(path);
    return peak;
}

void BM_BareParse(benchmark::State& state) {
    const std::string& bytes = sampleBytes();
    for (auto _ : state) {
        simdjson::dom::parser parser; // fresh, as decode makes one per call
        simdjson::dom::element root;
        if (parser.parse(bytes.data(), bytes.size()).get(root)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(root);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["file_mb"] = static_cast<double>(bytes.size()) / 1e6;
}

// The parser's speed alone, its buffers allocated and touched once beforehand.
void BM_BareParseWarmParser(benchmark::State& state) {
    const std::string& bytes = sampleBytes();
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element root;
        if (parser.parse(bytes.data(), bytes.size()).get(root)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(root);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_Decode(benchmark::State& state) {
    const std::string& bytes = sampleBytes();
    for (auto _ : state) {
        auto decoded = GlazeBookCodec::decode(bytes);
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    const double peak = peakDecodeBytes();
    state.counters["peak_rss_mb"] = peak / 1e6;
    state.counters["peak_over_file"] = peak / static_cast<double>(bytes.size());
}

void BM_Encode(benchmark::State& state) {
    const GlazeBook& book = sampleBook();
    std::size_t size = 0;
    for (auto _ : state) {
        std::string bytes = GlazeBookCodec::encode(book);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

BENCHMARK(BM_BareParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareParseWarmParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--peak-rss-child") == 0) return measurePeakChild(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
