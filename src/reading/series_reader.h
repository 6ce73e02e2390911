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
};

// Reads series s (1 to the table's capacity) into the table, passing over `header_lines`
// lines first. With s one beyond the capacity the series is read without being stored, to
// learn whether the input holds one more complete series than the table can take. The input
// must stand at the series' first line (or first header line); after a series is read it
// stands on the line after the end marker. Whatever the outcome, the table's length of a
// stored series is the number of places written. Writes nothing: the outcome is the result.
SeriesResult aindx(fields::LineReader& input, int s, int header_lines, table::SeriesTable& table,
                   std::string& trailing_label, Watch watch = {});

// A header line passed over: the same check as for the header lines of a series, for the
// header lines at the top of a file.
std::optional<HeaderLineData> header_line_data(const fields::LineReader& input);

}  // namespace quillet::reading

#endif  // QUILLET_READING_SERIES_READER_H_
