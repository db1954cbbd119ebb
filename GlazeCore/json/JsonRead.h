#pragma once

#include "GlazeCore/book/JsonReadError.h"
#include "GlazeCore/json/JsonPath.h"

#include <simdjson.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Reading parsed JSON into typed values; every failure is a JsonReadError naming the path.
namespace GlazeCore::Json {

using simdjson::dom::element;

/// Text from the file shown inside a message: cut short and with control characters made visible.
std::string quoted(std::string_view text);

[[noreturn]] void fail(const Path& at, std::string problem);
/// "expected <expected>", with ", found <what it is>" unless the root path asks for less.
[[noreturn]] void wrongType(const Path& at, const char* expected, element value);

// The readers run once per value of a large file, so they stay inline; only failing leaves the header.

inline std::string_view readText(element value, const Path& at) {
    std::string_view text;
    if (value.get_string().get(text)) wrongType(at, "a string", value);
    return text;
}

inline std::string readString(element value, const Path& at) {
    return std::string(readText(value, at));
}

/// Any JSON number.
inline double readDouble(element value, const Path& at) {
    double number;
    if (value.get_double().get(number)) wrongType(at, "a number", value);
    return number;
}

inline bool readBool(element value, const Path& at) {
    bool flag;
    if (value.get_bool().get(flag)) wrongType(at, "a boolean", value);
    return flag;
}

/// A number written without fraction or exponent, within 64 bits.
std::int64_t readInteger(element value, const Path& at);

/// The bits of the first `n` names, for readObject's required mask.
constexpr std::uint32_t allOf(std::size_t n) {
    return (1u << n) - 1;
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

/// Each member's name and value, for objects whose names are data.
template <class OnMember> void readMembers(element value, const Path& at, OnMember&& onMember) {
    simdjson::dom::object object;
    if (value.get_object().get(object)) wrongType(at, "an object", value);
    for (const simdjson::dom::key_value_pair field : object)
        onMember(field.key, field.value);
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

/// A list that may be long; the document knows its length, so this is readArray.
template <class T, class ReadOne>
void readLongArray(element value, const Path& at, std::vector<T>& out, ReadOne readOne, std::size_t, std::size_t) {
    readArray(value, at, out, readOne);
}

/// The parsed text; throws JsonReadError (with an empty path) when it is not JSON.
simdjson::dom::document parse(std::string_view bytes);
/// The same for a text followed by the parser's padding, read in place into `parser`'s document.
element parse(simdjson::dom::parser& parser, const char* padded, std::size_t size);

/// Parses the text and returns `decode(root, rootPath)`. One parser per call, so no state is shared between
/// threads; the padded copy of the bytes and the parser's index are gone before the typed value is built,
/// so the peak is the larger of (copy + parse) and (parsed document + typed value), not their sum.
template <class Decode>
auto parseAndDecode(std::string_view bytes, Decode decode, Mismatch mismatch = Mismatch::namesFound) {
    const simdjson::dom::document document = parse(bytes);
    Path root;
    root.mismatch = mismatch;
    return decode(document.root(), root);
}

} // namespace GlazeCore::Json
