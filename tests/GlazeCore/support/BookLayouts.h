#pragma once

#include <string>
#include <string_view>

// A book's text laid out as other programs write JSON: compact, or compact with some lines.
namespace OrzaTest {

/// The text without white space between its tokens; `lineEnd` follows each comma `depth` levels in (the book's
/// members at 1, the items of its lists at 2).
inline std::string compactText(std::string_view text, std::string_view lineEnd = "", int depth = 0) {
    std::string out;
    out.reserve(text.size());
    int level = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            out += c;
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
        if (c == '"') inString = true;
        if (c == '{' || c == '[') ++level;
        if (c == '}' || c == ']') --level;
        out += c;
        if (c == ',' && level == depth) out += lineEnd;
    }
    return out;
}

} // namespace OrzaTest
