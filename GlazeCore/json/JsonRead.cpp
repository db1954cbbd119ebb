#include "GlazeCore/json/JsonRead.h"

#include "GlazeCore/text/UnicodeText.h"

namespace GlazeCore::Json {

namespace {

using simdjson::dom::element_type;

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

} // namespace

std::string quoted(std::string_view text) {
    constexpr std::size_t shown = 40;
    std::string out = "\"";
    std::size_t end = std::min(text.size(), shown);
    while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end; // never cut inside a UTF-8 sequence
    out += UnicodeText::visibleControls(text.substr(0, end));
    out += end < text.size() ? "...\"" : "\"";
    return out;
}

void fail(const Path& at, std::string problem) {
    throw JsonReadError(at.text(), std::move(problem));
}

void wrongType(const Path& at, const char* expected, element value) {
    std::string problem = std::string("expected ") + expected;
    if (at.root().mismatch == Mismatch::namesFound) problem += std::string(", found ") + foundText(value);
    fail(at, std::move(problem));
}

std::int64_t readInteger(element value, const Path& at) {
    switch (value.type()) {
    case element_type::INT64:
        return value.get_int64().value_unsafe();
    case element_type::UINT64:
        fail(at, "integer out of range (above 9223372036854775807)");
    // 1.0 or 1e3 is a number but not the integer asked for.
    case element_type::DOUBLE:
        fail(at, "expected an integer, found a number with a fraction or exponent");
    default:
        wrongType(at, "an integer", value);
    }
}

element parse(simdjson::dom::parser& parser, const char* padded, std::size_t size) {
    element root;
    if (const auto error = parser.parse(padded, size, false).get(root))
        throw JsonReadError("", std::string("not valid JSON (") + simdjson::error_message(error) + ")");
    return root;
}

simdjson::dom::document parse(std::string_view bytes) {
    simdjson::dom::document document;
    const simdjson::padded_string padded(bytes.data(), bytes.size());
    if (padded.data() == nullptr) throw JsonReadError("", "not enough memory to read the file");
    simdjson::dom::parser parser;
    if (const auto error = parser.parse_into_document(document, padded.data(), padded.size(), false).error())
        throw JsonReadError("", std::string("not valid JSON (") + simdjson::error_message(error) + ")");
    return document;
}

} // namespace GlazeCore::Json
