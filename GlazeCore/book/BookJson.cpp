#include "GlazeCore/book/BookJson.h"

#include "GlazeCore/book/DateYears.h"
#include "GlazeCore/book/GlazeBookValidation.h"
#include "GlazeCore/json/JsonLongLists.h"
#include "GlazeCore/json/JsonRead.h"
#include "GlazeCore/json/JsonTokens.h"
#include "GlazeCore/json/JsonWrite.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>

namespace GlazeCore::BookJson {

namespace {

using namespace Json;

// ---------------------------------------------------------------------------------------------------------------
// Reading

constexpr std::array<std::int8_t, 256> hexDigitValues = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 10; ++i)
        table['0' + i] = static_cast<std::int8_t>(i);
    for (int i = 0; i < 6; ++i)
        table['a' + i] = table['A' + i] = static_cast<std::int8_t>(10 + i);
    return table;
}();

// Straight from the parser's buffer and without a branch per digit: a book has a UUID on every line.
std::optional<Uuid> parseUuid(std::string_view text) {
    static constexpr std::array<std::uint8_t, 16> pairStarts{0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    Uuid id;
    int invalid = 0; // any -1 from the table leaves the sign bit set
    for (std::size_t i = 0; i < pairStarts.size(); ++i) {
        const int high = hexDigitValues[static_cast<unsigned char>(text[pairStarts[i]])];
        const int low = hexDigitValues[static_cast<unsigned char>(text[pairStarts[i] + 1])];
        invalid |= high | low;
        id.bytes[i] = static_cast<std::uint8_t>(high << 4 | (low & 0xF));
    }
    if (invalid < 0) return std::nullopt;
    return id;
}

// Most UUIDs are read in place: 36 bytes that parse as one hold no quote or backslash, so they are the string.
Uuid readUuid(Token value, const Path& at);

template <class V> Uuid readUuid(V value, const Path& at) {
    const std::string_view text = readText(value, at);
    const auto id = parseUuid(text);
    if (!id) fail(at, "not a UUID (8-4-4-4-12 hexadecimal digits): " + quoted(text));
    return *id;
}

// Reads `count` ASCII digits at `pos`; false when any is not a digit.
bool digits(std::string_view text, std::size_t pos, std::size_t count, int& out) {
    if (pos + count > text.size()) return false;
    out = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

// How a date's text reads: a date, no date at all, or a date the clock cannot hold.
struct DateText {
    std::optional<Date> date;
    bool beyondTheClock = false;
};

// "YYYY-MM-DDTHH:MM:SS", an optional fraction, then "Z" or "+HH:MM"/"-HH:MM". Civil-date arithmetic only,
// so neither the locale nor the TZ variable plays a part.
DateText parseDate(std::string_view t) {
    using namespace std::chrono;
    int y, mo, d, h, mi, s;
    if (!digits(t, 0, 4, y) || t.size() < 20 || t[4] != '-' || !digits(t, 5, 2, mo) || t[7] != '-' ||
        !digits(t, 8, 2, d) || t[10] != 'T' || !digits(t, 11, 2, h) || t[13] != ':' || !digits(t, 14, 2, mi) ||
        t[16] != ':' || !digits(t, 17, 2, s))
        return {};
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || h > 23 || mi > 59 || s > 59) return {};

    std::size_t pos = 19;
    std::int64_t fractionNanos = 0;
    if (t[pos] == '.') {
        ++pos;
        const std::size_t start = pos;
        std::int64_t scale = 100'000'000;
        for (; pos < t.size() && t[pos] >= '0' && t[pos] <= '9'; ++pos, scale /= 10)
            fractionNanos += (t[pos] - '0') * scale; // digits past nanoseconds add 0
        if (pos == start) return {};
    }
    if (pos >= t.size()) return {};
    std::int64_t offsetSeconds = 0;
    if (t[pos] == 'Z') {
        ++pos;
    } else if (t[pos] == '+' || t[pos] == '-') {
        int oh, om;
        if (!digits(t, pos + 1, 2, oh) || pos + 3 >= t.size() || t[pos + 3] != ':' || !digits(t, pos + 4, 2, om) ||
            oh > 23 || om > 59)
            return {};
        offsetSeconds = (t[pos] == '+' ? 1 : -1) * (oh * 3600 + om * 60);
        pos += 6;
    } else {
        return {};
    }
    if (pos != t.size()) return {};

    const std::int64_t utcSeconds =
        std::int64_t{sys_days{ymd}.time_since_epoch().count()} * 86400 + h * 3600 + mi * 60 + s - offsetSeconds;
    // The clock's range is narrower than four-digit years when it counts nanoseconds.
    constexpr std::int64_t lowest = floor<seconds>(system_clock::time_point::min()).time_since_epoch().count() + 1;
    constexpr std::int64_t highest = floor<seconds>(system_clock::time_point::max()).time_since_epoch().count() - 1;
    if (utcSeconds < lowest || utcSeconds > highest) return {std::nullopt, true};
    return {Date{seconds{utcSeconds}} + duration_cast<system_clock::duration>(nanoseconds{fractionNanos})};
}

Uuid readUuid(Token value, const Path& at) {
    constexpr std::size_t length = 36;
    if (const char* text = stringOfLength(value, length)) {
        if (const auto id = parseUuid({text, length})) {
            endString(value, text + length);
            return *id;
        }
    }
    return readUuid<Token>(value, at);
}

template <class V> Date readDate(V value, const Path& at) {
    const std::string_view text = readText(value, at);
    const DateText read = parseDate(text);
    if (read.beyondTheClock)
        fail(at, "a date outside the years " + std::to_string(DateYears::first()) + " to " +
                     std::to_string(DateYears::last()) + ", which Orza cannot hold: " + quoted(text));
    if (!read.date) fail(at, "not an ISO 8601 date (such as 2024-05-17T14:03:09Z): " + quoted(text));
    return *read.date;
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Standard alphabet, padded, one line; unused bits of the last group must be zero, as every encoder writes them.
std::optional<Bytes> decodeBase64(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    Bytes out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int v[4];
        int padding = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=') {
                if (!last || k < 2) return std::nullopt;
                ++padding;
                v[k] = 0;
            } else {
                if (padding > 0) return std::nullopt;
                v[k] = base64Value(c);
                if (v[k] < 0) return std::nullopt;
            }
        }
        if ((padding == 1 && (v[2] & 0x3)) || (padding == 2 && (v[1] & 0xF))) return std::nullopt;
        const std::uint32_t n = static_cast<std::uint32_t>(v[0] << 18 | v[1] << 12 | v[2] << 6 | v[3]);
        out.push_back(static_cast<std::uint8_t>(n >> 16));
        if (padding < 2) out.push_back(static_cast<std::uint8_t>(n >> 8));
        if (padding < 1) out.push_back(static_cast<std::uint8_t>(n));
    }
    return out;
}

template <class V> Bytes readBase64(V value, const Path& at) {
    const std::string_view text = readText(value, at);
    auto bytes = decodeBase64(text);
    if (!bytes) fail(at, "not standard base64 text with padding");
    return std::move(*bytes);
}

template <class V> Analysis readAnalysis(V value, const Path& at) {
    Analysis analysis;
    readMembers(value, at, [&](std::string_view key, V v) {
        const auto oxide = OxideNames::fromRaw(key);
        if (!oxide) fail(at, "unknown oxide formula " + quoted(key));
        const double percent = readDouble(v, at.member(OxideNames::rawValue(*oxide)));
        if (!analysis.emplace(*oxide, percent).second) fail(at, "repeated oxide formula " + quoted(key));
    });
    return analysis;
}

template <class V> Material readMaterial(V value, const Path& at) {
    static constexpr std::array<std::string_view, 5> names{"id", "name", "analysis", "loi", "source"};
    Material material;
    readObject(value, at, names, allOf(5), [&](std::size_t i, V v, const Path& p) {
        switch (i) {
        case 0:
            material.id = readString(v, p);
            break;
        case 1:
            material.name = readString(v, p);
            break;
        case 2:
            material.analysis = readAnalysis(v, p);
            break;
        case 3:
            material.loi = readDouble(v, p);
            break;
        case 4:
            material.source = readString(v, p);
            break;
        }
    });
    return material;
}

template <class V> RecipeLine readLine(V value, const Path& at) {
    static constexpr std::array<std::string_view, 4> names{"id", "materialID", "amount", "isAddition"};
    RecipeLine line;
    readObject(value, at, names, allOf(4), [&](std::size_t i, V v, const Path& p) {
        switch (i) {
        case 0:
            line.id = readUuid(v, p);
            break;
        case 1:
            line.materialID = readString(v, p);
            break;
        case 2:
            line.amount = readDouble(v, p);
            break;
        case 3:
            line.isAddition = readBool(v, p);
            break;
        }
    });
    return line;
}

template <class V> Recipe readRecipe(V value, const Path& at) {
    static constexpr std::array<std::string_view, 5> names{"id", "name", "cone", "lines", "notes"};
    Recipe recipe;
    readObject(value, at, names, allOf(5), [&](std::size_t i, V v, const Path& p) {
        switch (i) {
        case 0:
            recipe.id = readUuid(v, p);
            break;
        case 1:
            recipe.name = readString(v, p);
            break;
        case 2:
            recipe.cone = readString(v, p);
            break;
        case 3:
            readArray(v, p, recipe.lines, readLine<V>);
            break;
        case 4:
            recipe.notes = readString(v, p);
            break;
        }
    });
    return recipe;
}

template <class V> FiringSegment readSegment(V value, const Path& at) {
    static constexpr std::array<std::string_view, 3> names{"ratePerHour", "targetC", "holdMinutes"};
    FiringSegment segment;
    readObject(value, at, names, allOf(3), [&](std::size_t i, V v, const Path& p) {
        const double number = readDouble(v, p);
        (i == 0 ? segment.ratePerHour : i == 1 ? segment.targetC : segment.holdMinutes) = number;
    });
    return segment;
}

template <class V> TestTile readTile(V value, const Path& at) {
    static constexpr std::array<std::string_view, 9> names{"id",    "recipeID",      "cone", "atmosphere", "schedule",
                                                           "notes", "photoBookmark", "date", "code"};
    constexpr std::uint32_t photoBookmark = 1u << 6, code = 1u << 8;
    TestTile tile;
    readObject(value, at, names, allOf(9) & ~photoBookmark & ~code, [&](std::size_t i, V v, const Path& p) {
        switch (i) {
        case 0:
            tile.id = readUuid(v, p);
            break;
        case 1:
            tile.recipeID = readUuid(v, p);
            break;
        case 2:
            tile.cone = readString(v, p);
            break;
        case 3:
            tile.atmosphere = readString(v, p);
            break;
        case 4:
            readArray(v, p, tile.schedule, readSegment<V>);
            break;
        case 5:
            tile.notes = readString(v, p);
            break;
        case 6:
            if (!v.is_null()) tile.photoBookmark = readBase64(v, p);
            break;
        case 7:
            tile.date = readDate(v, p);
            break;
        case 8:
            if (!v.is_null()) tile.code = readString(v, p);
            break;
        }
    });
    return tile;
}

OxideInfo readOxideInfo(element value, const Path& at) {
    static constexpr std::array<std::string_view, 4> names{"oxide", "molarMass", "role", "expansionCoefficient"};
    OxideInfo info;
    readObject(value, at, names, allOf(3), [&](std::size_t i, element v, const Path& p) {
        switch (i) {
        case 0: {
            const std::string_view text = readText(v, p);
            const auto oxide = OxideNames::fromRaw(text);
            if (!oxide) fail(p, "unknown oxide formula " + quoted(text));
            info.oxide = *oxide;
            break;
        }
        case 1:
            info.molarMass = readDouble(v, p);
            break;
        case 2: {
            const std::string_view text = readText(v, p);
            const auto role = OxideNames::roleFromRaw(text);
            if (!role) fail(p, "unknown oxide role " + quoted(text));
            info.role = *role;
            break;
        }
        case 3:
            if (!v.is_null()) info.expansionCoefficient = readDouble(v, p);
            break;
        }
    });
    return info;
}

// Room made ahead for the book's lists: no more than a valid book holds (one more, to be refused as too many),
// nor than the rest of the text could hold at the size of the smallest item with its required members.
constexpr std::size_t longestList = GlazeBookValidation::maxItems + 1;
constexpr std::size_t smallestRecipeBytes =
    sizeof(R"({"cone":"","id":"00000000-0000-0000-0000-000000000000","lines":[],"name":"","notes":""})") - 1;
constexpr std::size_t smallestMaterialBytes = sizeof(R"({"analysis":{},"id":"","loi":0,"name":"","source":""})") - 1;
constexpr std::size_t smallestTileBytes =
    sizeof(
        R"({"atmosphere":"","cone":"","date":"0000-00-00T00:00:00Z","id":"00000000-0000-0000-0000-000000000000","notes":"","recipeID":"00000000-0000-0000-0000-000000000000","schedule":[]})") -
    1;

template <class V> GlazeBook readBookObject(V value, const Path& at) {
    static constexpr std::array<std::string_view, 5> names{"recipes", "customMaterials", "tests", "version",
                                                           "nextTileNumber"};
    GlazeBook book;
    readObject(value, at, names, allOf(4), [&](std::size_t i, V v, const Path& p) {
        switch (i) {
        case 0:
            readLongArray(v, p, book.recipes, readRecipe<V>, longestList, smallestRecipeBytes);
            break;
        case 1:
            readLongArray(v, p, book.customMaterials, readMaterial<V>, longestList, smallestMaterialBytes);
            break;
        case 2:
            readLongArray(v, p, book.tests, readTile<V>, longestList, smallestTileBytes);
            break;
        case 3:
            book.version = readInteger(v, p);
            break;
        case 4:
            book.nextTileNumber = v.is_null() ? 1 : readInteger(v, p);
            break;
        }
    });
    return book;
}

// Some editors start a UTF-8 file with a byte-order mark; a hand-edited book should still open.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

std::string_view withoutByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(byteOrderMark)) bytes.remove_prefix(byteOrderMark.size());
    return bytes;
}

bool isJsonSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

/// UTF-8 but for a character the head's end may have cut short.
bool isUtf8UpToItsEnd(std::string_view head) {
    for (std::size_t cut = 0; cut < 4 && cut <= head.size(); ++cut)
        if (simdjson::validate_utf8(head.data(), head.size() - cut)) return true;
    return false;
}

template <class Decode> auto readFile(std::string_view bytes, Decode decode) {
    return Json::parseAndDecode(withoutByteOrderMark(bytes), decode);
}

// Below this size a book reads in a few milliseconds on one thread.
constexpr std::size_t smallestSharedText = std::size_t{8} << 20;

LongLists longListsFor(std::size_t textSize) {
    return {textSize >= smallestSharedText && Workers::threads() > 1, LongLists{}.batchBytes};
}

std::optional<GlazeBook> readByTokens(std::string_view padded, std::size_t window, const LongLists& longLists) {
    try {
        TokenReader reader(padded.data(), padded.size(), window, longLists);
        GlazeBook book = readBookObject(reader.root(), Path{});
        if (!reader.atEnd()) return std::nullopt;
        return book;
    } catch (const NotTrusted&) {
        return std::nullopt;
    } catch (const JsonReadError&) {
        // Any problem in the text comes before this one; the document reader finds which is first.
        return std::nullopt;
    }
}

GlazeBook readDocument(std::string_view padded, simdjson::dom::parser& parser) {
    return readBookObject(Json::parse(parser, padded.data(), padded.size()), Path{});
}

// ---------------------------------------------------------------------------------------------------------------
// Writing

// Analysis members go out in byte order of the formula, which is not the enumeration's order.
const std::array<Oxide, oxideCount>& oxidesByFormula() {
    static const auto sorted = [] {
        auto all = OxideNames::allCases();
        std::sort(all.begin(), all.end(),
                  [](Oxide a, Oxide b) { return OxideNames::rawValue(a) < OxideNames::rawValue(b); });
        return all;
    }();
    return sorted;
}

// The stored form; the writers below put the members in sorted order themselves.
constexpr Style bookStyle{.indented = true,
                          .escapesSolidus = true,
                          .shortBackspaceAndFormFeed = true,
                          .shortestNumbers = true,
                          .namesNonFinite = true};

void writeUuid(Writer& w, const Uuid& id) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    char text[38];
    std::size_t pos = 0;
    text[pos++] = '"';
    for (std::size_t i = 0; i < id.bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text[pos++] = '-';
        text[pos++] = hexDigits[id.bytes[i] >> 4];
        text[pos++] = hexDigits[id.bytes[i] & 0xF];
    }
    text[pos++] = '"';
    w.out.append(text, pos);
}

void writeDate(Writer& w, Date value, const Path& at) {
    using namespace std::chrono;
    // Whole seconds, always toward the earlier one (also before 1970).
    const auto secs = floor<seconds>(value);
    const auto dayStart = floor<days>(secs);
    const year_month_day ymd{dayStart};
    const hh_mm_ss time{secs - dayStart};
    const int y = static_cast<int>(ymd.year());
    if (y < 0 || y > 9999) throw JsonWriteError(at.text(), "date outside the years 0000 to 9999");
    // "YYYY-MM-DDTHH:MM:SSZ" in quotes, digit by digit: every tile has one.
    char text[] = "\"0000-00-00T00:00:00Z\"";
    const auto put = [&](std::size_t at, unsigned value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
    };
    put(1, static_cast<unsigned>(y), 4);
    put(6, static_cast<unsigned>(ymd.month()), 2);
    put(9, static_cast<unsigned>(ymd.day()), 2);
    put(12, static_cast<unsigned>(time.hours().count()), 2);
    put(15, static_cast<unsigned>(time.minutes().count()), 2);
    put(18, static_cast<unsigned>(time.seconds().count()), 2);
    w.out.append(text, sizeof text - 1);
}

void writeBase64(Writer& w, const Bytes& bytes) {
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string& out = w.out;
    auto put = [&](std::uint32_t sextet) {
        const char c = alphabet[sextet & 0x3F];
        if (c == '/') out += '\\'; // the solidus is escaped in every string, base64 included
        out += c;
    };
    out += '"';
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t n = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        put(n >> 18), put(n >> 12), put(n >> 6), put(n);
    }
    if (const std::size_t rest = bytes.size() - i; rest > 0) {
        const std::uint32_t n = bytes[i] << 16 | (rest == 2 ? bytes[i + 1] << 8 : 0);
        put(n >> 18), put(n >> 12);
        if (rest == 2)
            put(n >> 6);
        else
            out += '=';
        out += '=';
    }
    out += '"';
}

// Each writer below lists its members in ascending byte order of the name; that order is the file's.

void writeMaterial(Writer& w, const Material& material, const Path& at) {
    auto o = w.object(at);
    o.member("analysis");
    {
        const Path analysisPath = at.member("analysis");
        auto a = w.object(analysisPath);
        for (const Oxide oxide : oxidesByFormula()) {
            const auto found = material.analysis.find(oxide);
            if (found != material.analysis.end()) a.number(OxideNames::rawValue(oxide), found->second);
        }
        a.close();
    }
    o.string("id", material.id);
    o.number("loi", material.loi);
    o.string("name", material.name);
    o.string("source", material.source);
    o.close();
}

void writeLine(Writer& w, const RecipeLine& line, const Path& at) {
    auto o = w.object(at);
    o.number("amount", line.amount);
    o.member("id");
    writeUuid(w, line.id);
    o.boolean("isAddition", line.isAddition);
    o.string("materialID", line.materialID);
    o.close();
}

void writeRecipe(Writer& w, const Recipe& recipe, const Path& at) {
    auto o = w.object(at);
    o.string("cone", recipe.cone);
    o.member("id");
    writeUuid(w, recipe.id);
    o.array("lines", recipe.lines, writeLine);
    o.string("name", recipe.name);
    o.string("notes", recipe.notes);
    o.close();
}

void writeSegment(Writer& w, const FiringSegment& segment, const Path& at) {
    auto o = w.object(at);
    o.number("holdMinutes", segment.holdMinutes);
    o.number("ratePerHour", segment.ratePerHour);
    o.number("targetC", segment.targetC);
    o.close();
}

void writeTile(Writer& w, const TestTile& tile, const Path& at) {
    auto o = w.object(at);
    o.string("atmosphere", tile.atmosphere);
    o.string("code", tile.code);
    o.string("cone", tile.cone);
    o.member("date");
    writeDate(w, tile.date, at.member("date"));
    o.member("id");
    writeUuid(w, tile.id);
    o.string("notes", tile.notes);
    if (tile.photoBookmark) {
        o.member("photoBookmark");
        writeBase64(w, *tile.photoBookmark);
    }
    o.member("recipeID");
    writeUuid(w, tile.recipeID);
    o.array("schedule", tile.schedule, writeSegment);
    o.close();
}

// A close guess of the written size, so that the text of a large book is not copied on every doubling.
std::size_t estimatedSize(const GlazeBook& book) {
    std::size_t size = 256;
    for (const Recipe& recipe : book.recipes)
        size += 200 + recipe.name.size() + recipe.notes.size() + recipe.cone.size() + recipe.lines.size() * 180;
    for (const Material& material : book.customMaterials)
        size += 200 + material.name.size() + material.source.size() + material.analysis.size() * 40;
    for (const TestTile& tile : book.tests)
        size += 400 + tile.notes.size() + tile.schedule.size() * 120 +
                (tile.photoBookmark ? tile.photoBookmark->size() * 3 / 2 : 0);
    return size;
}

void writeBookObject(Writer& w, const GlazeBook& book, std::int64_t version, std::int64_t nextTileNumber) {
    const Path root;
    auto o = w.object(root);
    o.array("customMaterials", book.customMaterials, writeMaterial);
    o.integer("nextTileNumber", nextTileNumber);
    o.array("recipes", book.recipes, writeRecipe);
    o.array("tests", book.tests, writeTile);
    o.integer("version", version);
    o.close();
}

} // namespace

bool cannotBeABook(std::string_view head) {
    if (head.size() < byteOrderMark.size() && byteOrderMark.starts_with(head)) return false;
    const std::string_view text = withoutByteOrderMark(head);
    const auto isControl = [](char c) { return static_cast<unsigned char>(c) < 0x20 && !isJsonSpace(c); };
    if (std::any_of(text.begin(), text.end(), isControl) || !isUtf8UpToItsEnd(text)) return true;
    const auto open = std::find_if_not(text.begin(), text.end(), isJsonSpace);
    if (open == text.end()) return false;
    if (*open != '{') return true;
    const auto first = std::find_if_not(open + 1, text.end(), isJsonSpace);
    return first != text.end() && *first != '"' && *first != '}';
}

GlazeBook readBook(std::string_view bytes) {
    Json::PaddedBytes copy = Json::PaddedBytes::copyOf(bytes);
    return readBook(copy, [&] { return Json::PaddedBytes::copyOf(bytes); });
}

GlazeBook readBook(const Json::PaddedBytes& bytes) {
    const std::string_view text = withoutByteOrderMark(bytes.view());
    if (auto book = readByTokens(text, TokenReader::defaultWindow, longListsFor(text.size()))) return std::move(*book);
    simdjson::dom::parser parser;
    return readDocument(text, parser);
}

GlazeBook readBook(Json::PaddedBytes& bytes, const std::function<Json::PaddedBytes()>& again) {
    const std::string_view text = withoutByteOrderMark(bytes.view());
    const std::size_t skipped = bytes.size() - text.size();
    const std::function<void(std::size_t)> discard = [&](std::size_t offset) { bytes.discardBefore(skipped + offset); };
    LongLists longLists = longListsFor(text.size());
    longLists.discardBefore = &discard;
    if (auto book = readByTokens(text, TokenReader::defaultWindow, longLists)) return std::move(*book);
    if (bytes.discarded()) bytes = again();
    return readBook(std::as_const(bytes));
}

namespace Readers {

std::optional<GlazeBook> tokens(const Json::PaddedBytes& bytes, std::size_t window,
                                std::optional<Json::LongLists> longLists) {
    const std::string_view text = withoutByteOrderMark(bytes.view());
    return readByTokens(text, window, longLists.value_or(longListsFor(text.size())));
}

GlazeBook document(const Json::PaddedBytes& bytes, simdjson::dom::parser& parser) {
    return readDocument(withoutByteOrderMark(bytes.view()), parser);
}

} // namespace Readers

std::vector<Material> readMaterials(std::string_view bytes) {
    return readFile(bytes, [](element root, const Path& at) {
        std::vector<Material> materials;
        readArray(root, at, materials, readMaterial<element>);
        return materials;
    });
}

std::vector<OxideInfo> readOxideTable(std::string_view bytes) {
    return readFile(bytes, [](element root, const Path& at) {
        std::vector<OxideInfo> rows;
        readArray(root, at, rows, readOxideInfo);
        return rows;
    });
}

std::string writeBook(const GlazeBook& book) {
    Writer w(bookStyle);
    w.out.reserve(estimatedSize(book));
    writeBookObject(w, book, book.version, book.nextTileNumber);
    return std::move(w.out);
}

void writeBook(const GlazeBook& book, std::int64_t version, std::int64_t nextTileNumber, const Json::Sink& sink) {
    // Large enough that handing a piece over costs little, small enough to stay in the cache.
    constexpr std::size_t chunk = std::size_t{1} << 20;
    Writer w(bookStyle, sink, chunk);
    writeBookObject(w, book, version, nextTileNumber);
    w.finish();
}

} // namespace GlazeCore::BookJson
