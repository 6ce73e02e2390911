// The series reader: `aindx` reads one series of a decade-line file per call.
//
// A series is its header lines (3 per series in CRONOL files, 1 in MASTER files, none in the
// other types), a first line and continuation lines, up to the slot that holds the end marker.
// The decade line, columns counted from 1:
//    1-6   series name (first line only)
//    7-10  year of the first value (first line only)
//   11-80  ten slots of 7 columns: a value of 4 columns with 3 implied decimals, then a count
//          of 3 columns
//   81-88  trailing label (first line only)
// On the first line the first value stands in the slot of its year within the decade: slot
// (year mod 10, floored) + 1, so 1653 starts in slot 4 and -15 in slot 6; the slots in front
// of it are passed over. Continuation lines are read from column 11 with all ten slots (their
// year field is not looked at). The end marker is a slot whose value is exactly 9.99 (the
// single-precision number nearest to it) and whose count is 0; 9.99 with another count, and a
// blank slot, are ordinary values.
#ifndef QUILLET_READING_SERIES_READER_H_
#define QUILLET_READING_SERIES_READER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fields/line_reader.h"
#include "table/series_table.h"

namespace quillet::reading {

// Columns a layout reaches on the lines of an input file (the trailing label ends in 88).
inline constexpr std::size_t kDecadeLineColumns = 88;
inline constexpr std::size_t kLabelLength = 8;

enum class SeriesOutcome {
  kSeriesRead,     // the end marker was found
  kEndOfInput,     // the input ended before the end marker: the series is not counted
  kReadError,      // a field could not be read
  kTooManySeries,  // a complete series beyond the table's capacity of series
  kSeriesTooLong,  // a complete series (end marker found) beyond the capacity of values
};

// Where a read error stands: the input line (1-based, header lines counted), the columns of
// the field that could not be read as it was taken, and its characters.
struct ReadErrorPlace {
  std::int64_t line = 0;
  std::size_t first_column = 0;
  std::size_t last_column = 0;
  std::string text;
};

// A line passed over as a header line that reads as the first line of a series.
struct HeaderLineData {
  std::int64_t line = 0;
  std::string name;  // its columns 1-6 without trailing blanks
};

// A continuation line that names another series than the one it is read into: the end
// marker of that series is probably missing.
struct RunInto {
  std::int64_t line = 0;
  std::string name;         // the line's columns 1-6 without trailing blanks
  int series = 0;           // the series it is read into
  std::string series_name;  // columns 1-6 of the series' first line without trailing blanks
};

// With the conventions: a line that starts the next series where the series before it has no
// end marker. The series before ends in front of it, and the line is the next call's first line.
struct NoEndMarker {
  std::int64_t line = 0;
  std::string name;         // the line's name without trailing blanks
  int series = 0;           // the series it ends
  std::string series_name;  // that series' name without trailing blanks
};

// The conventions of the data bank's files, which a call follows only when `on`. The file type
// family is told by the header lines per series: none (types 0 and 2-5) or some (1 and 6).
//  - Decade order: a series steps by decades when its first line has a name and a year with a
//    digit and each later line's year is the year of the line before plus ten (the first line's
//    year counted from the first year of its decade).
//  - The end of the input ends a series that steps by decades (up to its last non-blank line):
//    its values up to that line are kept, and the next call meets the end of the input.
//  - Without header lines per series, a line whose name differs from its series' name, whose
//    year is not the decade after the line before and which reads as a first line ends a
//    series that steps by decades as though its end marker had been there.
//  - Long years: a first line with '-' in column 6 and four digits in columns 7-10 whose
//    next line has the same columns 1-5 and, read in columns 6-10, the year of the next
//    decade, and whose end marker does not stand on that first line, has its year in
//    columns 6-10 and its name in columns 1-5 (followed by three blanks); names are then
//    compared on columns 1-5.
//  - Between series (after the end marker of series s - 1, before series s): blank lines and
//    one statistics line of series s - 1, in any order, are passed over: always without header
//    lines per series and at the end of the input; with header lines only where counting them
//    as header lines would make the next first line one that does not read as data.
struct Conventions {
  bool on = false;
};

// The conventions a call followed.
struct ConventionsUsed {
  bool long_years = false;
  bool split = false;            // the series ended at the next one's first line (no_end_marker)
  bool unfinished = false;       // the end of the input ended the series
  bool blank_lines = false;      // blank lines before the series were passed over
  bool statistics_line = false;  // a statistics line before it (or at the end) was passed over
  bool any() const { return long_years || split || unfinished || blank_lines || statistics_line; }
};

// Which of the checks above a call makes: a run reports each only once, so a caller that has
// seen one turns its check off.
struct Watch {
  bool header_data = true;
  bool run_into = true;
};

struct SeriesResult {
  SeriesOutcome outcome = SeriesOutcome::kSeriesRead;
  // For kEndOfInput: a line of the cut-off series held something other than blanks and TABs.
  bool cut_off_content = false;
  // For kSeriesRead: what its report shows.
  std::string name{};
  std::int32_t first_year = 0;
  std::int32_t last_year = 0;
  std::string label{};
  // Its header lines as read (the columns kept), whatever the outcome.
  std::vector<std::string> header_lines{};
  // For kReadError.
  ReadErrorPlace error{};
  // Found on the way, whatever the outcome (only when the Watch asked for them).
  std::optional<HeaderLineData> header_data{};
  std::optional<RunInto> run_into{};
  // With the conventions. For kSeriesRead: the series ended without its end marker because
  // this line starts the next series (the input stands in front of it).
  std::optional<NoEndMarker> no_end_marker{};
  // For kSeriesRead: the end of the input ended the series; its values are those up to its
  // last non-blank line, and the next call gives kEndOfInput.
  bool unfinished = false;
  // Whatever the outcome: what the call followed (a statistics line passed over at the end of
  // the input comes with kEndOfInput).
  ConventionsUsed used{};
};

// Reads series s (1 to the table's capacity) into the table, passing over `header_lines`
// lines first. With s one beyond the capacity the series is read without being stored, to
// learn whether the input holds one more complete series than the table can take. The input
// must stand at the series' first line (or first header line); after a series is read it
// stands on the line after the end marker. Whatever the outcome, the table's length of a
// stored series is the number of places written. Writes nothing: the outcome is the result.
// With conventions on, series s - 1 must be the series read before (its name is looked at).
SeriesResult aindx(fields::LineReader& input, int s, int header_lines, table::SeriesTable& table,
                   std::string& trailing_label, Watch watch = {}, Conventions conventions = {});

// A header line passed over: the same check as for the header lines of a series, for the
// header lines at the top of a file.
std::optional<HeaderLineData> header_line_data(const fields::LineReader& input);
std::optional<HeaderLineData> header_line_data(std::int64_t line, std::string_view text);

}  // namespace quillet::reading

#endif  // QUILLET_READING_SERIES_READER_H_
