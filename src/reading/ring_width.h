// Telling a ring-width file (measurements: one width a year for each sample) from the
// chronologies the program converts. Its lines are decade lines of another shape: the
// sample's name in columns 1-8, the year in columns 9-12, then up to ten integer values, in
// six columns each or apart by blanks, and each sample ends with the value 999 or -9999.
// No layout of the program reads such a file; this only says what it is.
#ifndef QUILLET_READING_RING_WIDTH_H_
#define QUILLET_READING_RING_WIDTH_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "fields/line_reader.h"

namespace quillet::reading {

// True when `line` reads as a ring-width decade line; `ends_sample` then says whether its
// last value is an end marker (999 or -9999).
bool is_ring_width_line(std::string_view line, bool& ends_sample);

// Reads `lines` to the end. The number of the first ring-width decade line when some line of
// that kind ends a sample with its marker, or nullopt (a chronology's lines never end so).
std::optional<std::int64_t> first_ring_width_line(fields::LineReader& lines);

}  // namespace quillet::reading

#endif  // QUILLET_READING_RING_WIDTH_H_
