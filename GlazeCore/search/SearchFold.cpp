#include "GlazeCore/search/SearchFold.h"

#include "GlazeCore/text/TextWork.h"
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

// Where the ASCII run that starts at text[from] ends, a word at a time.
std::size_t asciiRunEnd(std::string_view text, std::size_t from) {
    std::size_t i = from;
    for (std::uint64_t word = 0; i + 8 <= text.size(); i += 8) {
        std::memcpy(&word, text.data() + i, 8);
        if (word & highBits) break;
    }
    while (i < text.size() && isAscii(text[i]))
        ++i;
    return i;
}

// Appends the lower-cased ASCII prefix of text[from…] and returns where it stopped. Notes are mostly
// ASCII and every tile of a search comes through here, so it goes a word at a time. The output grows by
// the run alone: a text of many short runs (German prose) costs its length, not its length per run.
std::size_t appendAsciiPrefix(std::string& out, std::string_view text, std::size_t from) {
    const std::size_t end = asciiRunEnd(text, from);
    TextWork::add(end - from);
    const std::size_t start = out.size();
    out.resize(start + (end - from));
    char* target = out.data() + start;
    std::size_t i = from;
    std::uint64_t word = 0;
    for (; i + 8 <= end; i += 8, target += 8) {
        std::memcpy(&word, text.data() + i, 8);
        word = loweredWord(word);
        std::memcpy(target, &word, 8);
    }
    for (; i < end; ++i)
        *target++ = lowered(text[i]);
    return end;
}

} // namespace

void SearchFold::append(std::string& out, std::string_view text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::size_t capacity = out.capacity();
    // A new buffer for `out` copies what it held: work as much as the characters themselves.
    const auto countGrowth = [&out, &capacity] {
        if (out.capacity() == capacity) return;
        capacity = out.capacity();
        TextWork::add(out.size());
    };
    while (i < n) {
        const std::size_t j = appendAsciiPrefix(out, text, i);
        countGrowth();
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
        countGrowth();
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
    TextWork::add(piece.size());
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
