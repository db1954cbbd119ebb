#include "GlazeCore/chemistry/LimitJson.h"

#include "GlazeCore/text/UnicodeText.h"

#include <simdjson.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <iterator>

namespace GlazeCore::LimitJson {

namespace {

using simdjson::dom::element;

// ---------------------------------------------------------------------------------------------------------------
// Reading

[[noreturn]] void fail(const std::string& at, std::string problem) {
    throw JsonReadError(at, std::move(problem));
}

std::string member(const std::string& at, std::string_view name) {
    return at.empty() ? std::string(name) : at + "." + std::string(name);
}

std::string item(const std::string& at, std::size_t index) {
    return at + "[" + std::to_string(index) + "]";
}

std::string_view readText(element value, const std::string& at) {
    std::string_view text;
    if (value.get_string().get(text)) fail(at, "expected a string");
    return text;
}

double readDouble(element value, const std::string& at) {
    double number;
    if (value.get_double().get(number)) fail(at, "expected a number");
    return number;
}

Oxide readOxide(element value, const std::string& at) {
    const std::string_view text = readText(value, at);
    const auto oxide = OxideNames::fromRaw(text);
    if (!oxide) fail(at, "unknown oxide formula \"" + std::string(text.substr(0, 40)) + "\"");
    return *oxide;
}

// Hands each known member to onMember(index, value, path) once; unknown ones are skipped, a repeated known one
// is refused rather than silently picking one of the two.
template <std::size_t N, class OnMember>
void readObject(element value, const std::string& at, const std::array<std::string_view, N>& names,
                const std::array<bool, N>& required, OnMember&& onMember) {
    simdjson::dom::object object;
    if (value.get_object().get(object)) fail(at, "expected an object");
    std::array<bool, N> seen{};
    for (const simdjson::dom::key_value_pair field : object) {
        const auto found = std::find(names.begin(), names.end(), field.key);
        if (found == names.end()) continue;
        const auto i = static_cast<std::size_t>(found - names.begin());
        if (seen[i]) fail(at, "repeated member \"" + std::string(names[i]) + "\"");
        seen[i] = true;
        onMember(i, field.value, member(at, names[i]));
    }
    for (std::size_t i = 0; i < N; ++i)
        if (required[i] && !seen[i]) fail(at, "missing required member \"" + std::string(names[i]) + "\"");
}

LimitRange readRangeObject(element value, const std::string& at) {
    static constexpr std::array<std::string_view, 4> names{"oxide", "min", "max", "combinedWith"};
    LimitRange range;
    readObject(value, at, names, {true, true, true, false}, [&](std::size_t i, element v, const std::string& p) {
        switch (i) {
        case 0:
            range.oxide = readOxide(v, p);
            break;
        case 1:
            range.min = readDouble(v, p);
            break;
        case 2:
            range.max = readDouble(v, p);
            break;
        case 3: {
            if (v.is_null()) break;
            simdjson::dom::array array;
            if (v.get_array().get(array)) fail(p, "expected an array");
            std::vector<Oxide> oxides;
            std::size_t index = 0;
            for (const element entry : array)
                oxides.push_back(readOxide(entry, item(p, index++)));
            range.combinedWith = std::move(oxides);
            break;
        }
        }
    });
    return range;
}

LimitSet readSetObject(element value, const std::string& at) {
    static constexpr std::array<std::string_view, 5> names{"id", "name", "cone", "ranges", "source"};
    LimitSet set;
    readObject(value, at, names, {true, true, true, true, true}, [&](std::size_t i, element v, const std::string& p) {
        switch (i) {
        case 0:
            set.id = readText(v, p);
            break;
        case 1:
            set.name = readText(v, p);
            break;
        case 2:
            set.cone = readText(v, p);
            break;
        case 3: {
            simdjson::dom::array array;
            if (v.get_array().get(array)) fail(p, "expected an array");
            std::size_t index = 0;
            for (const element entry : array)
                set.ranges.push_back(readRangeObject(entry, item(p, index++)));
            break;
        }
        case 4:
            set.source = readText(v, p);
            break;
        }
    });
    return set;
}

template <class Decode> auto parseAndDecode(std::string_view bytes, Decode decode) {
    simdjson::dom::parser parser;
    element root;
    if (const auto error = parser.parse(bytes.data(), bytes.size()).get(root))
        throw JsonReadError("", std::string("not valid JSON (") + simdjson::error_message(error) + ")");
    return decode(root, std::string());
}

// ---------------------------------------------------------------------------------------------------------------
// Writing

void writeString(std::string& out, std::string_view text, const std::string& at) {
    // Text that is not UTF-8 would not read back, so it is never written.
    if (!UnicodeText::isValidUtf8(text)) throw JsonWriteError(at, "not valid UTF-8 text");
    static constexpr char hexDigits[] = "0123456789abcdef";
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
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
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += hexDigits[c >> 4];
                out += hexDigits[c & 0xF];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

void writeNumber(std::string& out, double value, const std::string& at) {
    if (!std::isfinite(value)) throw JsonWriteError(at, "not a finite number");
    // "-0" would read back as the integer 0 and lose its sign.
    if (value == 0) {
        out += std::signbit(value) ? "-0.0" : "0";
        return;
    }
    char buffer[64];
    out.append(buffer, std::to_chars(buffer, std::end(buffer), value, std::chars_format::general).ptr);
}

void writeOxide(std::string& out, Oxide oxide) {
    out += '"';
    out += OxideNames::rawValue(oxide);
    out += '"';
}

void writeRangeObject(std::string& out, const LimitRange& range, const std::string& at) {
    out += "{\"oxide\":";
    writeOxide(out, range.oxide);
    out += ",\"min\":";
    writeNumber(out, range.min, member(at, "min"));
    out += ",\"max\":";
    writeNumber(out, range.max, member(at, "max"));
    if (range.combinedWith) {
        out += ",\"combinedWith\":[";
        for (std::size_t i = 0; i < range.combinedWith->size(); ++i) {
            if (i > 0) out += ',';
            writeOxide(out, (*range.combinedWith)[i]);
        }
        out += ']';
    }
    out += '}';
}

} // namespace

LimitRange readRange(std::string_view bytes) {
    return parseAndDecode(bytes, readRangeObject);
}

LimitSet readSet(std::string_view bytes) {
    return parseAndDecode(bytes, readSetObject);
}

std::string writeRange(const LimitRange& range) {
    std::string out;
    writeRangeObject(out, range, "");
    return out;
}

std::string writeSet(const LimitSet& set) {
    std::string out = "{\"id\":";
    writeString(out, set.id, "id");
    out += ",\"name\":";
    writeString(out, set.name, "name");
    out += ",\"cone\":";
    writeString(out, set.cone, "cone");
    out += ",\"ranges\":[";
    for (std::size_t i = 0; i < set.ranges.size(); ++i) {
        if (i > 0) out += ',';
        writeRangeObject(out, set.ranges[i], item("ranges", i));
    }
    out += "],\"source\":";
    writeString(out, set.source, "source");
    out += '}';
    return out;
}

} // namespace GlazeCore::LimitJson
