#include "GlazeCore/search/SearchFold.h"

#include "GlazeCore/text/UnicodeText.h"

#include <cstdint>
#include <cstring>

namespace GlazeCore {

namespace {

// Long runs (a sentence without ASCII) rarely repeat; keeping them would only grow the table.
constexpr std::size_t longestRemembered = 32;
constexpr std::size_t mostRemembered = 4096;

bool isAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr std::uint64_t highBits = 0x8080808080808080ull;

// Eight ASCII bytes lower-cased at once: a byte gets 0x20 added when it lies in 'A'…'Z'.
std::uint64_t loweredWord(std::uint64_t word) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t atLeastA = word + ones * (0x80 - 'A');   // high bit set from 'A' up
    const std::uint64_t aboveZ = word + ones * (0x80 - 'Z' - 1); // high bit set above 'Z'
    const std::uint64_t upper = atLeastA & ~aboveZ & highBits;
    return word | (upper >> 2);
}

// Appends the lower-cased ASCII prefix of text[from…] and returns where it stopped. Notes are mostly
// ASCII and every tile of a search comes through here, so it goes a word at a time.
std::size_t appendAsciiPrefix(std::string& out, std::string_view text, std::size_t from) {
    const std::size_t start = out.size();
    out.resize(start + (text.size() - from));
    char* target = out.data() + start;
    std::size_t i = from;
    std::uint64_t word = 0;
    for (; i + 8 <= text.size(); i += 8, target += 8) {
        std::memcpy(&word, text.data() + i, 8);
        if (word & highBits) break;
        word = loweredWord(word);
        std::memcpy(target, &word, 8);
    }
    // The last few bytes as one word overlapping the ones already written, which come out the same.
    if (i < text.size() && text.size() - from >= 8 && !(word & highBits)) {
        const std::size_t back = text.size() - 8;
        std::memcpy(&word, text.data() + back, 8);
        if (!(word & highBits)) {
            word = loweredWord(word);
            target += text.size() - i;
            std::memcpy(target - 8, &word, 8);
            i = text.size();
        }
    }
    for (; i < text.size() && isAscii(text[i]); ++i)
        *target++ = lowered(text[i]);
    out.resize(static_cast<std::size_t>(target - out.data()));
    return i;
}

} // namespace

void SearchFold::append(std::string& out, std::string_view text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t j = appendAsciiPrefix(out, text, i);
        if (j == n) return;
        // text[j] starts a non-ASCII run; it is folded together with the ASCII character before it.
        std::size_t asciiEnd = j;
        if (j > i) {
            out.pop_back();
            asciiEnd = j - 1;
        }
        std::size_t k = j;
        while (k < n && !isAscii(text[k]))
            ++k;
        appendPiece(out, text.substr(asciiEnd, k - asciiEnd));
        i = k;
    }
}

std::string SearchFold::operator()(std::string_view text) {
    std::string out;
    append(out, text);
    return out;
}

bool SearchFold::foldsTo(std::string_view text, std::string_view folded, std::string& scratch) {
    scratch.clear();
    append(scratch, text);
    return scratch == folded;
}

void SearchFold::appendPiece(std::string& out, std::string_view piece) {
    if (piece.size() > longestRemembered) {
        out += UnicodeText::fold(piece);
        return;
    }
    auto found = m_pieces.find(piece);
    if (found == m_pieces.end()) {
        if (m_pieces.size() >= mostRemembered) m_pieces.clear();
        found = m_pieces.emplace(std::string(piece), UnicodeText::fold(piece)).first;
    }
    out += found->second;
}

} // namespace GlazeCore
