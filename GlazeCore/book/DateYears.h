#pragma once

namespace GlazeCore::DateYears {

/// The first and the last year whose every day, in any time zone, a tile's date can hold and the book file can
/// write: 0000 to 9999 at most, and 1678 to 2261 where the system clock counts nanoseconds.
int first();
int last();

/// Whether a date in `year` can be stored.
bool holds(int year);

} // namespace GlazeCore::DateYears
