#include "GlazeCore/book/BookJson.h"

#include "GlazeCore/text/UnicodeText.h"

#include <simdjson.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>

namespace GlazeCore::BookJson {

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;

// Where a value sits: a chain of frames on the stack, turned into text ("tests[3].date") only on failure.
struct Path {
    enum class Kind { root, member, item };
    const Path* parent = nullptr;
    Kind kind = Kind::root;
    std::string_view name;
    std::size_t index = 0;

    Path member(std::string_view memberName) const { return Path{this, Kind::member, memberName, 0}; }
    Path item(std::size_t i) const { return Path{this, Kind::item, {}, i}; }

    std::string text() const {
        std::vector<const Path*> chain;
        for (const Path* p = this; p && p->kind != Kind::root; p = p->parent)
            chain.push_back(p);
        std::string out;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if ((*it)->kind == Kind::member) {
                if (!out.empty()) out += '.';
                out += (*it)->name;
            } else {
                out += '[' + std::to_string((*it)->index) + ']';
            }
        }
        return out;
    }
};

// Text from the file shown inside a message: cut short and with control characters made visible.
std::string quoted(std::string_view text) {
    constexpr std::size_t shown = 40;
    std::string out = "\"";
    std::size_t end = std::min(text.size(), shown);
    while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end; // never cut inside a UTF-8 sequence
    for (char c : text.substr(0, end)) {
        if (static_cast<unsigned char>(c) < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
            out += hex;
        } else {
            out += c;
        }
    }
    out += end < text.size() ? "...\"" : "\"";
    return out;
}

// ---------------------------------------------------------------------------------------------------------------
// Reading

[[noreturn]] void fail(const Path& at, std::string problem) {
    throw JsonReadError(at.text(), std::move(problem));
}

const char* foundText(element value) {
    switch (value.type()) {
    case element_type::ARRAY:
        return "an array";
    case element_type::OBJECT:
        return "an object";
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE:
        return "a number";
    case element_type::STRING:
        return "a string";
    case element_type::BOOL:
        return "a boolean";
    case element_type::NULL_VALUE:
        return "null";
    }
    return "an unknown value";
}

[[noreturn]] void wrongType(const Path& at, const char* expected, element value) {
    fail(at, std::string("expected ") + expected + ", found " + foundText(value));
}

std::string_view readText(element value, const Path& at) {
    std::string_view text;
    if (value.get_string().get(text)) wrongType(at, "a string", value);
    return text;
}

std::string readString(element value, const Path& at) {
    return std::string(readText(value, at));
}

double readDouble(element value, const Path& at) {
    double number;
    if (value.get_double().get(number)) wrongType(at, "a number", value);
    return number;
}

std::int64_t readInteger(element value, const Path& at) {
    switch (value.type()) {
    case element_type::INT64:
        return value.get_int64().value_unsafe();
    case element_type::UINT64:
        fail(at, "integer out of range (above 9223372036854775807)");
    // 1.0 or 1e3 is a number but not the integer the format asks for.
    case element_type::DOUBLE:
        fail(at, "expected an integer, found a number with a fraction or exponent");
    default:
        wrongType(at, "an integer", value);
    }
}

bool readBool(element value, const Path& at) {
    bool flag;
    if (value.get_bool().get(flag)) wrongType(at, "a boolean", value);
    return flag;
}

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

Uuid readUuid(element value, const Path& at) {
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

// "YYYY-MM-DDTHH:MM:SS", an optional fraction, then "Z" or "+HH:MM"/"-HH:MM". Civil-date arithmetic only,
// so neither the locale nor the TZ variable plays a part.
std::optional<Date> parseDate(std::string_view t) {
    using namespace std::chrono;
    int y, mo, d, h, mi, s;
    if (!digits(t, 0, 4, y) || t.size() < 20 || t[4] != '-' || !digits(t, 5, 2, mo) || t[7] != '-' ||
        !digits(t, 8, 2, d) || t[10] != 'T' || !digits(t, 11, 2, h) || t[13] != ':' || !digits(t, 14, 2, mi) ||
        t[16] != ':' || !digits(t, 17, 2, s))
        return std::nullopt;
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || h > 23 || mi > 59 || s > 59) return std::nullopt;

    std::size_t pos = 19;
    std::int64_t fractionNanos = 0;
    if (t[pos] == '.') {
        ++pos;
        const std::size_t start = pos;
        std::int64_t scale = 100'000'000;
        for (; pos < t.size() && t[pos] >= '0' && t[pos] <= '9'; ++pos, scale /= 10)
            fractionNanos += (t[pos] - '0') * scale; // digits past nanoseconds add 0
        if (pos == start) return std::nullopt;
    }
    if (pos >= t.size()) return std::nullopt;
    std::int64_t offsetSeconds = 0;
    if (t[pos] == 'Z') {
        ++pos;
    } else if (t[pos] == '+' || t[pos] == '-') {
        int oh, om;
        if (!digits(t, pos + 1, 2, oh) || pos + 3 >= t.size() || t[pos + 3] != ':' || !digits(t, pos + 4, 2, om) ||
            oh > 23 || om > 59)
            return std::nullopt;
        offsetSeconds = (t[pos] == '+' ? 1 : -1) * (oh * 3600 + om * 60);
        pos += 6;
    } else {
        return std::nullopt;
    }
    if (pos != t.size()) return std::nullopt;

    const std::int64_t utcSeconds =
        std::int64_t{sys_days{ymd}.time_since_epoch().count()} * 86400 + h * 3600 + mi * 60 + s - offsetSeconds;
    // The clock's range is narrower than four-digit years when it counts nanoseconds.
    constexpr std::int64_t lowest = floor<seconds>(system_clock::time_point::min()).time_since_epoch().count() + 1;
    constexpr std::int64_t highest = floor<seconds>(system_clock::time_point::max()).time_since_epoch().count() - 1;
    if (utcSeconds < lowest || utcSeconds > highest) return std::nullopt;
    return Date{seconds{utcSeconds}} + duration_cast<system_clock::duration>(nanoseconds{fractionNanos});
}

Date readDate(element value, const Path& at) {
    const std::string_view text = readText(value, at);
    const auto date = parseDate(text);
    if (!date) fail(at, "not an ISO 8601 date (such as 2024-05-17T14:03:09Z): " + quoted(text));
    return *date;
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

Bytes readBase64(element value, const Path& at) {
    const std::string_view text = readText(value, at);
    auto bytes = decodeBase64(text);
    if (!bytes) fail(at, "not standard base64 text with padding");
    return std::move(*bytes);
}

// Walks an object's members once, handing each known one to `onMember(index, value, path)`. Unknown members
// are skipped; a known member given twice is refused rather than silently picking one of the two.
template <std::size_t N, class OnMember>
void readObject(element value, const Path& at, const std::array<std::string_view, N>& names, std::uint32_t requiredMask,
                OnMember&& onMember) {
    static_assert(N <= 32);
    simdjson::dom::object object;
    if (value.get_object().get(object)) wrongType(at, "an object", value);
    std::uint32_t seen = 0;
    for (const simdjson::dom::key_value_pair field : object) {
        const auto found = std::find(names.begin(), names.end(), field.key);
        if (found == names.end()) continue;
        const auto i = static_cast<std::size_t>(found - names.begin());
        if (seen & (1u << i)) fail(at, "repeated member \"" + std::string(names[i]) + "\"");
        seen |= 1u << i;
        onMember(i, field.value, at.member(names[i]));
    }
    if (const std::uint32_t missing = requiredMask & ~seen)
        fail(at, "missing required member \"" + std::string(names[std::countr_zero(missing)]) + "\"");
}

template <class T, class ReadOne> void readArray(element value, const Path& at, std::vector<T>& out, ReadOne readOne) {
    simdjson::dom::array array;
    if (value.get_array().get(array)) wrongType(at, "an array", value);
    out.reserve(array.size());
    std::size_t i = 0;
    for (const element item : array) {
        out.push_back(readOne(item, at.item(i)));
        ++i;
    }
}

constexpr std::uint32_t allOf(std::size_t n) {
    return (1u << n) - 1;
}

Analysis readAnalysis(element value, const Path& at) {
    simdjson::dom::object object;
    if (value.get_object().get(object)) wrongType(at, "an object", value);
    Analysis analysis;
    for (const simdjson::dom::key_value_pair field : object) {
        const auto oxide = OxideNames::fromRaw(field.key);
        if (!oxide) fail(at, "unknown oxide formula " + quoted(field.key));
        const double percent = readDouble(field.value, at.member(OxideNames::rawValue(*oxide)));
        if (!analysis.emplace(*oxide, percent).second) fail(at, "repeated oxide formula " + quoted(field.key));
    }
    return analysis;
}

Material readMaterial(element value, const Path& at) {
    static constexpr std::array<std::string_view, 5> names{"id", "name", "analysis", "loi", "source"};
    Material material;
    readObject(value, at, names, allOf(5), [&](std::size_t i, element v, const Path& p) {
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

RecipeLine readLine(element value, const Path& at) {
    static constexpr std::array<std::string_view, 4> names{"id", "materialID", "amount", "isAddition"};
    RecipeLine line;
    readObject(value, at, names, allOf(4), [&](std::size_t i, element v, const Path& p) {
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

Recipe readRecipe(element value, const Path& at) {
    static constexpr std::array<std::string_view, 5> names{"id", "name", "cone", "lines", "notes"};
    Recipe recipe;
    readObject(value, at, names, allOf(5), [&](std::size_t i, element v, const Path& p) {
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
            readArray(v, p, recipe.lines, readLine);
            break;
        case 4:
            recipe.notes = readString(v, p);
            break;
        }
    });
    return recipe;
}

FiringSegment readSegment(element value, const Path& at) {
    static constexpr std::array<std::string_view, 3> names{"ratePerHour", "targetC", "holdMinutes"};
    FiringSegment segment;
    readObject(value, at, names, allOf(3), [&](std::size_t i, element v, const Path& p) {
        const double number = readDouble(v, p);
        (i == 0 ? segment.ratePerHour : i == 1 ? segment.targetC : segment.holdMinutes) = number;
    });
    return segment;
}

TestTile readTile(element value, const Path& at) {
    static constexpr std::array<std::string_view, 9> names{"id",    "recipeID",      "cone", "atmosphere", "schedule",
                                                           "notes", "photoBookmark", "date", "code"};
    constexpr std::uint32_t photoBookmark = 1u << 6, code = 1u << 8;
    TestTile tile;
    readObject(value, at, names, allOf(9) & ~photoBookmark & ~code, [&](std::size_t i, element v, const Path& p) {
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
            readArray(v, p, tile.schedule, readSegment);
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

GlazeBook readBookObject(element value, const Path& at) {
    static constexpr std::array<std::string_view, 5> names{"recipes", "customMaterials", "tests", "version",
                                                           "nextTileNumber"};
    GlazeBook book;
    readObject(value, at, names, allOf(4), [&](std::size_t i, element v, const Path& p) {
        switch (i) {
        case 0:
            readArray(v, p, book.recipes, readRecipe);
            break;
        case 1:
            readArray(v, p, book.customMaterials, readMaterial);
            break;
        case 2:
            readArray(v, p, book.tests, readTile);
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

// One parser per call, so no state is shared between threads. The parsed document is kept apart from the
// parser: the padded copy of the bytes and the parser's index go before the typed value is built, so the
// peak is the larger of (copy + parse) and (parsed document + typed value), not their sum.
template <class Decode> auto parseAndDecode(std::string_view bytes, Decode decode) {
    // Some editors start a UTF-8 file with a byte-order mark; a hand-edited book should still open.
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, byteOrderMark.size()) == byteOrderMark) bytes.remove_prefix(byteOrderMark.size());
    simdjson::dom::document document;
    {
        const simdjson::padded_string padded(bytes.data(), bytes.size());
        if (padded.data() == nullptr) throw JsonReadError("", "not enough memory to read the file");
        simdjson::dom::parser parser;
        if (const auto error = parser.parse_into_document(document, padded.data(), padded.size(), false).error())
            throw JsonReadError("", std::string("not valid JSON (") + simdjson::error_message(error) + ")");
    }
    return decode(document.root(), Path{});
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

class Writer {
public:
    std::string out;

    // A container under construction; writes "{}"/"[]" when nothing went into it.
    class Container {
    public:
        Container(Writer& writer, char open, char close) : m_writer(writer), m_close(close) {
            m_writer.out += open;
            ++m_writer.m_depth;
        }
        ~Container() = default;
        Container(const Container&) = delete;
        Container& operator=(const Container&) = delete;

        void member(std::string_view name) {
            item();
            m_writer.out += '"';
            m_writer.out += name; // member names are ours: plain ASCII with nothing to escape
            m_writer.out += "\" : ";
        }
        void item() {
            if (!m_empty) m_writer.out += ',';
            m_empty = false;
            m_writer.newline();
        }
        void close() {
            --m_writer.m_depth;
            if (!m_empty) m_writer.newline();
            m_writer.out += m_close;
        }

    private:
        Writer& m_writer;
        char m_close;
        bool m_empty = true;
    };

    Container object() { return Container(*this, '{', '}'); }
    Container array() { return Container(*this, '[', ']'); }

    void string(std::string_view text, const Path& at) {
        static constexpr char hexDigits[] = "0123456789abcdef";
        bool ascii = true;
        out += '"';
        std::size_t runStart = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c >= 0x80) ascii = false;
            const bool plain = c >= 0x20 && c != '"' && c != '\\' && c != '/';
            if (plain) continue;
            out.append(text, runStart, i - runStart);
            runStart = i + 1;
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '/':
                out += "\\/";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                out += "\\u00";
                out += hexDigits[c >> 4];
                out += hexDigits[c & 0xF];
            }
        }
        out.append(text, runStart, text.size() - runStart);
        out += '"';
        // A file holding broken UTF-8 would not open again, so it is never written.
        if (!ascii && !UnicodeText::isValidUtf8(text)) throw JsonWriteError(at.text(), "not valid UTF-8 text");
    }

    void number(double value, const Path& at) {
        if (!std::isfinite(value))
            throw JsonWriteError(at.text(), std::string("not a finite number (") +
                                                (std::isnan(value) ? "NaN"
                                                 : value > 0       ? "infinity"
                                                                   : "-infinity") +
                                                ")");
        // "-0" would read back as the integer 0 and lose its sign.
        if (value == 0) {
            out += std::signbit(value) ? "-0.0" : "0";
            return;
        }
        char buffer[64];
        auto end = std::to_chars(buffer, std::end(buffer), value).ptr;
        const std::string_view shortest(buffer, static_cast<std::size_t>(end - buffer));
        // Long integral forms ("123456789012345680000") overflow 64-bit integer readers; the exponent form does not.
        if (shortest.find_first_of(".e") == std::string_view::npos && shortest.size() > 16)
            end = std::to_chars(buffer, std::end(buffer), value, std::chars_format::scientific).ptr;
        out.append(buffer, end);
    }

    void integer(std::int64_t value) {
        char buffer[24];
        out.append(buffer, std::to_chars(buffer, std::end(buffer), value).ptr);
    }

    void boolean(bool value) { out += value ? "true" : "false"; }

    void uuid(const Uuid& id) {
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
        out.append(text, pos);
    }

    void date(Date value, const Path& at) {
        using namespace std::chrono;
        // Whole seconds, always toward the earlier one (also before 1970).
        const auto secs = floor<seconds>(value);
        const auto dayStart = floor<days>(secs);
        const year_month_day ymd{dayStart};
        const hh_mm_ss time{secs - dayStart};
        const int y = static_cast<int>(ymd.year());
        if (y < 0 || y > 9999) throw JsonWriteError(at.text(), "date outside the years 0000 to 9999");
        char text[32];
        const int length = std::snprintf(
            text, sizeof text, "\"%04d-%02u-%02uT%02d:%02d:%02dZ\"", y, static_cast<unsigned>(ymd.month()),
            static_cast<unsigned>(ymd.day()), static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
        out.append(text, static_cast<std::size_t>(length));
    }

    void base64(const Bytes& bytes) {
        static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
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

private:
    int m_depth = 0;

    void newline() {
        out += '\n';
        out.append(static_cast<std::size_t>(m_depth) * 2, ' ');
    }
};

// Each writer below lists its members in ascending byte order of the name; that order is the file's.

void writeMaterial(Writer& w, const Material& material, const Path& at) {
    auto o = w.object();
    o.member("analysis");
    {
        const Path analysisPath = at.member("analysis");
        auto a = w.object();
        for (const Oxide oxide : oxidesByFormula()) {
            const auto found = material.analysis.find(oxide);
            if (found == material.analysis.end()) continue;
            a.member(OxideNames::rawValue(oxide));
            w.number(found->second, analysisPath.member(OxideNames::rawValue(oxide)));
        }
        a.close();
    }
    o.member("id");
    w.string(material.id, at.member("id"));
    o.member("loi");
    w.number(material.loi, at.member("loi"));
    o.member("name");
    w.string(material.name, at.member("name"));
    o.member("source");
    w.string(material.source, at.member("source"));
    o.close();
}

void writeLine(Writer& w, const RecipeLine& line, const Path& at) {
    auto o = w.object();
    o.member("amount");
    w.number(line.amount, at.member("amount"));
    o.member("id");
    w.uuid(line.id);
    o.member("isAddition");
    w.boolean(line.isAddition);
    o.member("materialID");
    w.string(line.materialID, at.member("materialID"));
    o.close();
}

void writeRecipe(Writer& w, const Recipe& recipe, const Path& at) {
    auto o = w.object();
    o.member("cone");
    w.string(recipe.cone, at.member("cone"));
    o.member("id");
    w.uuid(recipe.id);
    o.member("lines");
    {
        const Path linesPath = at.member("lines");
        auto a = w.array();
        for (std::size_t i = 0; i < recipe.lines.size(); ++i) {
            a.item();
            writeLine(w, recipe.lines[i], linesPath.item(i));
        }
        a.close();
    }
    o.member("name");
    w.string(recipe.name, at.member("name"));
    o.member("notes");
    w.string(recipe.notes, at.member("notes"));
    o.close();
}

void writeSegment(Writer& w, const FiringSegment& segment, const Path& at) {
    auto o = w.object();
    o.member("holdMinutes");
    w.number(segment.holdMinutes, at.member("holdMinutes"));
    o.member("ratePerHour");
    w.number(segment.ratePerHour, at.member("ratePerHour"));
    o.member("targetC");
    w.number(segment.targetC, at.member("targetC"));
    o.close();
}

void writeTile(Writer& w, const TestTile& tile, const Path& at) {
    auto o = w.object();
    o.member("atmosphere");
    w.string(tile.atmosphere, at.member("atmosphere"));
    o.member("code");
    w.string(tile.code, at.member("code"));
    o.member("cone");
    w.string(tile.cone, at.member("cone"));
    o.member("date");
    w.date(tile.date, at.member("date"));
    o.member("id");
    w.uuid(tile.id);
    o.member("notes");
    w.string(tile.notes, at.member("notes"));
    if (tile.photoBookmark) {
        o.member("photoBookmark");
        w.base64(*tile.photoBookmark);
    }
    o.member("recipeID");
    w.uuid(tile.recipeID);
    o.member("schedule");
    {
        const Path schedulePath = at.member("schedule");
        auto a = w.array();
        for (std::size_t i = 0; i < tile.schedule.size(); ++i) {
            a.item();
            writeSegment(w, tile.schedule[i], schedulePath.item(i));
        }
        a.close();
    }
    o.close();
}

template <class T, class WriteOne>
void writeArray(Writer& w, const std::vector<T>& items, const Path& at, WriteOne writeOne) {
    auto a = w.array();
    for (std::size_t i = 0; i < items.size(); ++i) {
        a.item();
        writeOne(w, items[i], at.item(i));
    }
    a.close();
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

} // namespace

GlazeBook readBook(std::string_view bytes) {
    return parseAndDecode(bytes, readBookObject);
}

std::vector<Material> readMaterials(std::string_view bytes) {
    return parseAndDecode(bytes, [](element root, const Path& at) {
        std::vector<Material> materials;
        readArray(root, at, materials, readMaterial);
        return materials;
    });
}

std::vector<OxideInfo> readOxideTable(std::string_view bytes) {
    return parseAndDecode(bytes, [](element root, const Path& at) {
        std::vector<OxideInfo> rows;
        readArray(root, at, rows, readOxideInfo);
        return rows;
    });
}

std::string writeBook(const GlazeBook& book) {
    Writer w;
    w.out.reserve(estimatedSize(book));
    const Path root;
    auto o = w.object();
    o.member("customMaterials");
    writeArray(w, book.customMaterials, root.member("customMaterials"), writeMaterial);
    o.member("nextTileNumber");
    w.integer(book.nextTileNumber);
    o.member("recipes");
    writeArray(w, book.recipes, root.member("recipes"), writeRecipe);
    o.member("tests");
    writeArray(w, book.tests, root.member("tests"), writeTile);
    o.member("version");
    w.integer(book.version);
    o.close();
    return std::move(w.out);
}

} // namespace GlazeCore::BookJson
