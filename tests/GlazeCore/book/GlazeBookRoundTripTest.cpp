#include "GlazeCore/book/GlazeBookCodec.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace GlazeCore;

namespace {

// Random books that pass validation, from a fixed seed so a failure reproduces.
class RandomBook {
public:
    explicit RandomBook(std::uint32_t seed) : m_random(seed) {}

    GlazeBook make() {
        GlazeBook book;
        book.version = pick(1, 2);
        book.nextTileNumber = chance(4) ? pick<std::int64_t>(0, 10'000'000) : pick<std::int64_t>(1, 50);
        const int recipeCount = pick(0, 4), materialCount = pick(0, 3), tileCount = pick(0, 5);
        for (int i = 0; i < recipeCount; ++i)
            book.recipes.push_back(recipe());
        for (int i = 0; i < materialCount; ++i)
            book.customMaterials.push_back(material(i));
        for (int i = 0; i < tileCount; ++i)
            book.tests.push_back(tile(book));
        return book;
    }

private:
    std::mt19937 m_random;

    template <class T = int> T pick(T lo, T hi) { return std::uniform_int_distribution<T>(lo, hi)(m_random); }
    bool chance(int oneIn) { return pick(1, oneIn) == 1; }

    Uuid uuid() {
        Uuid id;
        for (auto& byte : id.bytes)
            byte = static_cast<std::uint8_t>(pick(0, 255));
        return id;
    }

    // Scripts of different UTF-8 lengths, text that is not in NFC, and what the writer has to escape.
    std::string text(int longest) {
        static const std::vector<std::u32string> alphabets{
            U"abcxyzABCXYZ0189 -_.",
            U"äéîõüßÅÇÑøœ",
            U"e\u0301a\u0308o\u0302\u0327",
            U"абвгдЖЗИЙёЯ",
            U"αβγδΩΣς",
            U"釉薬長石珪石灰",
            U"ةبلوزجاج",
            U"कांचचमक",
            U"\U0001F525\U0001F3FA\U0001F44D\U0001F3FD",
            U"\"\\/\n\t\r\b\f\x01\x1f\x7f",
            std::u32string(1, U'\0') + U"\uFEFF\u00A0\u2028\uFFFD",
        };
        std::string out;
        const int length = pick(0, longest);
        const std::u32string& alphabet = alphabets[static_cast<std::size_t>(pick<int>(0, alphabets.size() - 1))];
        for (int i = 0; i < length; ++i) {
            const std::u32string& from =
                chance(4) ? alphabets[static_cast<std::size_t>(pick<int>(0, alphabets.size() - 1))] : alphabet;
            appendUtf8(out, from[static_cast<std::size_t>(pick<int>(0, from.size() - 1))]);
        }
        return out;
    }

    static void appendUtf8(std::string& out, char32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    // Any magnitude up to the limit, whole numbers, the limit itself, both zeros and the smallest subnormal.
    double number(double limit) {
        switch (pick(0, 9)) {
        case 0:
            return 0.0;
        case 1:
            return -0.0;
        case 2:
            return chance(2) ? limit : -limit;
        case 3:
            return std::numeric_limits<double>::denorm_min();
        case 4:
            return std::round(std::uniform_real_distribution<double>(0, limit)(m_random));
        default: {
            const double value =
                std::uniform_real_distribution<double>(0, limit)(m_random) * std::pow(10.0, -pick(0, 12));
            return chance(4) ? -value : value;
        }
        }
    }

    Recipe recipe() {
        Recipe recipe{uuid(), text(20), chance(3) ? "6" : text(4), {}, text(60)};
        const int lineCount = pick(0, 6);
        for (int i = 0; i < lineCount; ++i)
            recipe.lines.push_back({uuid(), chance(5) ? "" : text(12), number(1e9), chance(3)});
        return recipe;
    }

    Material material(int index) {
        // The index keeps the ids apart, which the book requires.
        Material material{text(10) + "#" + std::to_string(index), text(20), {}, number(100), text(30)};
        for (const Oxide oxide : OxideNames::allCases())
            if (chance(3)) material.analysis[oxide] = number(100);
        return material;
    }

    // A code that never reads as blank, since a blank one is given a fresh code on opening.
    std::string code() {
        switch (pick(0, 3)) {
        case 0:
            return "T-" + std::to_string(pick(0, 1'200'000));
        case 1:
            return "t-00" + std::to_string(pick(0, 99));
        case 2:
            return text(3) + "x" + text(3);
        default:
            return "Ωmega " + text(5);
        }
    }

    TestTile tile(const GlazeBook& book) {
        using namespace std::chrono;
        // Whole seconds anywhere in the clock's range, the two ends included.
        constexpr std::int64_t first = floor<seconds>(Date::min()).time_since_epoch().count() + 1;
        constexpr std::int64_t last = floor<seconds>(Date::max()).time_since_epoch().count() - 1;
        const std::int64_t secondsSinceEpoch = chance(10) ? (chance(2) ? first : last) : pick(first, last);

        TestTile tile;
        tile.id = uuid();
        tile.recipeID = !book.recipes.empty() && !chance(4)
                            ? book.recipes[static_cast<std::size_t>(pick<int>(0, book.recipes.size() - 1))].id
                            : uuid();
        tile.cone = chance(2) ? "05½" : text(4);
        tile.atmosphere = text(12);
        const int segments = pick(0, 4);
        for (int i = 0; i < segments; ++i)
            tile.schedule.push_back({number(1e6), number(1e6), number(1e6)});
        tile.notes = text(80);
        if (chance(2)) {
            Bytes bookmark(static_cast<std::size_t>(pick(0, 40)));
            for (auto& byte : bookmark)
                byte = static_cast<std::uint8_t>(pick(0, 255));
            tile.photoBookmark = std::move(bookmark);
        }
        tile.date = Date{duration_cast<Date::duration>(seconds{secondsSinceEpoch})};
        tile.code = code();
        return tile;
    }
};

} // namespace

TEST(GlazeBookRoundTrip, RandomBooksOpenAsSavedAndSaveToTheSameBytes) {
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        const GlazeBook original = RandomBook(seed).make();
        const std::string bytes = GlazeBookCodec::encode(original);
        ASSERT_EQ(GlazeBookCodec::encode(original), bytes) << "seed " << seed;

        const auto decoded = GlazeBookCodec::decode(bytes);
        ASSERT_EQ(decoded.book, original) << "seed " << seed << "\n" << bytes;
        EXPECT_FALSE(decoded.notice.has_value()) << "seed " << seed;
        // Equality of books is canonical; the bytes show that no text or number changed at all.
        ASSERT_EQ(GlazeBookCodec::encode(decoded.book), bytes) << "seed " << seed;
    }
}
