#pragma once

#include <cstddef>
#include <cstdint>

/// The work the text routines do on this thread, counted: characters gone through and bytes moved. Folding
/// does work in proportion to the text, and a test holds it to that by this count, which the machine's load
/// cannot change as it changes a time.
namespace GlazeCore::TextWork {

namespace detail {
inline thread_local std::uint64_t counted = 0;
} // namespace detail

inline void add(std::size_t units) {
    detail::counted += units;
}

inline std::uint64_t done() {
    return detail::counted;
}

} // namespace GlazeCore::TextWork
