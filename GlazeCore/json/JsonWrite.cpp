#include "GlazeCore/json/JsonWrite.h"

#include "GlazeCore/text/UnicodeText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <iterator>

namespace GlazeCore::Json {

namespace {

// Per byte: 1 when it is written as an escape (2 for the solidus, escaped in one style only), 4 above ASCII.
constexpr std::array<std::uint8_t, 256> byteKinds = [] {
    std::array<std::uint8_t, 256> kinds{};
    for (int c = 0; c < 0x20; ++c)
        kinds[static_cast<std::size_t>(c)] = 1;
    kinds['"'] = kinds['\\'] = 1;
    kinds['/'] = 2;
    for (int c = 0x80; c < 0x100; ++c)
        kinds[static_cast<std::size_t>(c)] = 4;
    return kinds;
}();

} // namespace

void Writer::string(std::string_view text, const Path& at) {
    static constexpr char hexDigits[] = "0123456789abcdef";
    const std::uint8_t escaped = m_style.escapesSolidus ? 3 : 1;
    bool ascii = true;
    out += '"';
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t kind = byteKinds[static_cast<unsigned char>(text[i])];
        if (kind == 0) continue;
        if (kind == 4) {
            ascii = false;
            continue;
        }
        if ((kind & escaped) == 0) continue;
        const auto c = static_cast<unsigned char>(text[i]);
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
        case '\f':
            if (m_style.shortBackspaceAndFormFeed) {
                out += c == '\b' ? "\\b" : "\\f";
                break;
            }
            [[fallthrough]];
        default:
            out += "\\u00";
            out += hexDigits[c >> 4];
            out += hexDigits[c & 0xF];
        }
    }
    out.append(text, runStart, text.size() - runStart);
    out += '"';
    // Text that is not UTF-8 would not read back, so it is never written.
    if (!ascii && !UnicodeText::isValidUtf8(text)) throw JsonWriteError(at.text(), "not valid UTF-8 text");
}

void Writer::number(double value, const Path& at) {
    if (!std::isfinite(value)) {
        std::string problem = "not a finite number";
        if (m_style.namesNonFinite)
            problem += std::isnan(value) ? " (NaN)" : value > 0 ? " (infinity)" : " (-infinity)";
        throw JsonWriteError(at.text(), std::move(problem));
    }
    // "-0" would read back as the integer 0 and lose its sign.
    if (value == 0) {
        out += std::signbit(value) ? "-0.0" : "0";
        return;
    }
    char buffer[64];
    if (!m_style.shortestNumbers) {
        out.append(buffer, std::to_chars(buffer, std::end(buffer), value, std::chars_format::general).ptr);
        return;
    }
    auto end = std::to_chars(buffer, std::end(buffer), value).ptr;
    const std::string_view shortest(buffer, static_cast<std::size_t>(end - buffer));
    // Long integral forms ("123456789012345680000") overflow 64-bit integer readers; the exponent form does not.
    if (shortest.find_first_of(".e") == std::string_view::npos && shortest.size() > 16)
        end = std::to_chars(buffer, std::end(buffer), value, std::chars_format::scientific).ptr;
    out.append(buffer, end);
}

void Writer::integer(std::int64_t value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, std::end(buffer), value).ptr);
}

} // namespace GlazeCore::Json
