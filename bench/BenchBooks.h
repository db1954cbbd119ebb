#pragma once

// Books for the benchmarks, from a fixed seed: `items` recipes of 10 lines and `items` tiles, as large as the
// file allows at 100,000. The same book at every size, so the sizes compare.

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/tilecode/TileCode.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

namespace Bench {

inline constexpr std::size_t linesPerRecipe = 10;
/// The sizes every benchmark reports side by side, to show that cost grows with the book and no faster.
inline constexpr long sizes[] = {1'000, 10'000, 100'000};

inline GlazeCore::GlazeBook makeBook(std::size_t items) {
    using namespace GlazeCore;
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> amount(0.5, 60.0);
    GlazeBook book;
    book.version = 2;
    book.nextTileNumber = static_cast<std::int64_t>(items) + 1;

    for (int m = 0; m < 50; ++m)
        book.customMaterials.push_back(
            {"custom-material-" + std::to_string(m),
             "Local clay " + std::to_string(m),
             {{Oxide::SiO2, 60.5}, {Oxide::Al2O3, 20.25}, {Oxide::K2O, 3.1}, {Oxide::Fe2O3, 1.75}, {Oxide::CaO, 0.4}},
             8.5,
             "lab sheet 2023/11"});

    book.recipes.reserve(items);
    for (std::size_t r = 0; r < items; ++r) {
        Recipe recipe{Uuid::random(), "Recipe " + std::to_string(r), "6", {}, r % 4 == 0 ? "sieve twice" : ""};
        recipe.lines.reserve(linesPerRecipe);
        for (std::size_t l = 0; l < linesPerRecipe; ++l)
            recipe.lines.push_back(
                {Uuid::random(), "custom-material-" + std::to_string((r + l) % 50), amount(random), l >= 8});
        book.recipes.push_back(std::move(recipe));
    }

    book.tests.reserve(items);
    for (std::size_t t = 0; t < items; ++t) {
        TestTile tile;
        tile.id = Uuid::random();
        tile.recipeID = book.recipes[t].id;
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

/// The process's high-water mark of resident memory, in bytes.
inline long peakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024;
}

/// Writes `bytes` to a fresh file under /tmp and returns its path, or an empty path.
inline std::string writeTemporary(const std::string& bytes, const char* name) {
    std::string path = std::string("/tmp/orza-bench-") + name + "-" + std::to_string(bytes.size()) + ".orzabook";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return {};
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written ? path : std::string();
}

/// The path of the running program, to run a measurement in a process of its own.
inline std::string selfPath() {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return {};
    self[length] = '\0';
    return self;
}

} // namespace Bench
