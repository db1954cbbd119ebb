#include "GlazeCore/book/SubstringSearch.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace GlazeCore {

bool containsSubstring(std::string_view text, std::string_view needle) {
    const std::size_t n = text.size(), m = needle.size();
    if (m == 0) return true;
    if (m > n) return false;
    std::size_t i = 0;
#if defined(__SSE2__)
    if (m >= 2) {
        // Candidates are positions whose first and last bytes both match; only those are compared.
        const __m128i first = _mm_set1_epi8(needle.front());
        const __m128i last = _mm_set1_epi8(needle.back());
        for (; i + m - 1 + 16 <= n; i += 16) {
            const __m128i atFirst =
                _mm_cmpeq_epi8(first, _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i)));
            const __m128i atLast =
                _mm_cmpeq_epi8(last, _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i + m - 1)));
            unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(atFirst, atLast)));
            while (mask != 0) {
                const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
                if (std::memcmp(text.data() + i + bit + 1, needle.data() + 1, m - 2) == 0) return true;
                mask &= mask - 1;
            }
        }
    }
#endif
    return text.substr(i).find(needle) != std::string_view::npos;
}

} // namespace GlazeCore
