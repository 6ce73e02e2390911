// What a reading of a decade-line file meets on its way, as values.
//
// A reading hands out its diagnostics in the order it meets them. Warnings belong to a file
// that is converted (its table is written all the same); errors say why a file is not
// converted. A diagnostic holds the facts only: which line, which columns, which series. Each
// way in words them itself: the command line with message_line() (quillet/messages.h), the
// program's dialogue with its own console lines.
#ifndef INCLUDE_QUILLET_DIAGNOSTIC_H_
#define INCLUDE_QUILLET_DIAGNOSTIC_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

enum class Severity { kWarning, kError };

enum class DiagnosticKind {
  // Warnings.
  kHeaderLineData,  // a line passed over as a header line reads as a series' first line:
                    //   line, name
  kRunInto,         // a continuation line names another series than the one it is read into:
                    //   line, name, series, series_name
  kCutOff,          // the input ends inside `series` before its end marker; it is not converted
  kNoSeries,        // no series was read: the column file holds only its header line
  kNoEndMarker,     // `series` (series_name) has no end marker; `line` (name) starts the next
  kUnfinished,      // the input ends inside `series` (series_name) without its end marker; its
                    //   values up to `number` (a year) are converted
  // Errors: the first problem of a reading, after which nothing more is read.
  kReadError,         // a field cannot be read: line, first_column, last_column, text
  kHeaderLineStop,    // a line that would be passed over as a header line reads as data:
                      //   line, name (only under automatic layout)
  kFileHeaderCut,     // the input ends inside its `number` file header lines
  kTooManySeries,     // more series than the table holds (`number`: the limit)
  kSeriesTooLong,     // a series with more values than the table holds (`number`: the limit)
  kYearRangeTooLong,  // the series span more years than the table holds (`number`: the limit)
  kNothingRead,       // a layout tried reads no series; `series` is 1 when the input ended
                      //   inside series 1 before its end marker, else 0
  kRingWidth,         // no layout reads the file, and its lines are ring-width measurements
                      //   (`line`: the first such line)
};

struct Diagnostic {
  DiagnosticKind kind = DiagnosticKind::kReadError;
  Severity severity = Severity::kError;
  std::int64_t line = 0;         // 1-based input line, header lines counted; 0 when no line applies
  std::size_t first_column = 0;  // the columns of a field that cannot be read (1-based)
  std::size_t last_column = 0;
  std::string text;         // that field's characters as taken
  std::string name;         // columns 1-6 (1-5 with long years) of the line, trailing blanks cut
  int series = 0;           // a series' number in its file, from 1
  std::string series_name;  // that series' name, trailing blanks cut
  std::int64_t number = 0;  // a count, a limit or a year, as the kind says
  // Under automatic layout, the file type whose trial met this error; -1 otherwise.
  int file_type = -1;
};

}  // namespace quillet

#endif  // INCLUDE_QUILLET_DIAGNOSTIC_H_
