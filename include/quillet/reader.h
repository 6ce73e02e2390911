// Reading decade-line files: every series of a file of one of the file types, or of the
// layout found by trial, into a read-only view.
//
// A Reader reads one input at a time and keeps its tables (reserved once, as memory that
// costs nothing until it is written) for the next input. What a read returns is a view into
// the Reader: it stays valid until the next read on the same Reader or the Reader's end.
// Readers are independent: separate threads may each read with their own Reader at once. The
// library keeps no mutable global state, writes nothing to any console and installs no signal
// handler.
//
// The file types are the menu's answers 0-9: 1 (three header lines in front of every series),
// 6 (one), 2-5 (three at the top of the file) and 0, 7-9 (none). With kAutomatic the layouts
// are tried in the order 1, 6, 2, 0, and the first that reads the file to its end without a
// problem is used.
//
// A reading is converted (its table can be written) or not; either way diagnostics() says
// what it met (quillet/diagnostic.h). Failures of the system (a file that cannot be opened or
// read) are thrown as quillet::Error; everything the input's content does is a diagnostic.
#ifndef INCLUDE_QUILLET_READER_H_
#define INCLUDE_QUILLET_READER_H_

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "quillet/diagnostic.h"

namespace quillet {

namespace core {
class ReadingState;
struct Access;
}  // namespace core

// The file type of a reading that is to find its layout by trial.
inline constexpr int kAutomatic = -1;

// The capacities of a reading: series per file, values per series, years in the table.
inline constexpr int kMaxSeries = 1500;
inline constexpr int kMaxValues = 8000;
inline constexpr int kMaxYears = 8000;

struct ReadOptions {
  int file_type = kAutomatic;  // 0-9, or kAutomatic
  // The decade-line rules alone, without the conventions of the data bank's files (long years,
  // series split by their names, a last series without its end marker, blank and statistics
  // lines between series).
  bool strict = false;
  // Keep the counts of every series (false: only the first series', which is all the column
  // file's N column needs).
  bool every_count = true;
  int tab_size = 8;  // columns between tab stops in input lines; 0 keeps a TAB as it is
};

// A failure of the system: an input that cannot be opened or read, a column file that cannot
// be made, written or put in place. The only exception the library throws, beside
// std::bad_alloc and std::invalid_argument for a bad argument.
class Error : public std::runtime_error {
 public:
  enum class Operation { kOpen, kRead, kClose, kCreate, kWrite, kRename };
  Error(Operation operation, std::string path, std::string reason, int error_code);
  Operation operation() const { return operation_; }
  // The file or stream the operation was on, as the caller named it.
  const std::string& path() const { return path_; }
  // The system's own text for the failure.
  const std::string& reason() const { return reason_; }
  // The system's error number (errno), 0 when it gave none.
  int error_code() const { return error_code_; }

 private:
  Operation operation_;
  std::string path_;
  std::string reason_;
  int error_code_;
};

// One series of a reading.
class Series {
 public:
  // Columns 1-6 of its first line (1-5 with long years) without trailing blanks; leading
  // blanks are kept.
  std::string name() const;
  // The name as the column file's header writes it: 8 characters, blanks behind.
  std::string column_name() const;
  std::int32_t first_year() const;
  std::int32_t last_year() const;  // first_year() + size() - 1
  int size() const;                // its values
  // Value i (0-based) as read.
  float value(int i) const;
  // Value i in thousandths as the column file rounds it (half away from zero from the exact
  // single-precision value): 1.2345 gives 1235; the column file writes ****** for one that
  // needs more than 6 columns.
  std::int64_t thousandths(int i) const;
  // The count read beside value i; 0 for every series but the first unless the reading kept
  // every count (ReadOptions::every_count).
  std::int32_t count(int i) const;
  // The same for all values at once, into out[0..size()).
  void copy_thousandths(std::int64_t* out) const;
  // Each value as the column file rounds it, thousandths / 1000 in double precision (0.0, never
  // -0.0, where the column file writes 0.000), into out[0..size()).
  void copy_rounded(double* out) const;
  void copy_counts(std::int32_t* out) const;
  // Its header lines as read (the columns a layout reaches, TABs expanded).
  const std::vector<std::string>& header_lines() const;
  // Columns 81-88 of its first line, 8 characters.
  std::string label() const;

 private:
  friend class Reading;
  Series(const core::ReadingState* state, int index) : state_(state), index_(index) {}
  const core::ReadingState* state_;
  int index_;  // 1-based
};

// The outcome of one read.
class Reading {
 public:
  // True when the table can be written: no error among the diagnostics.
  bool converted() const;
  // The file type that read the input (for a converted reading found by trial, the layout
  // that read it); the type given, or kAutomatic when no layout read it.
  int file_type() const;
  // Warnings and errors in the order they were met. Under automatic layout a converted
  // reading gives only the warnings of the layout used, and one that is not converted the
  // error of each layout tried (their file_type says which).
  const std::vector<Diagnostic>& diagnostics() const;
  // The conventions of the data bank's files that this reading needed, in a fixed order, as
  // short names ("long years", ...); empty under ReadOptions::strict.
  const std::vector<std::string>& conventions() const;

  // The series read whole, in file order (only when converted).
  int series_count() const;
  Series series(int i) const;  // 0-based
  // The file header lines passed over at the top of the file (file types 2-5), as read.
  const std::vector<std::string>& file_header_lines() const;

  // The rows of the column file: the years first_row_year() to first_row_year() + rows() - 1
  // (the earliest first year, but never after 8000, to the latest last year, but never before
  // 0); no rows when no series holds a value.
  std::int32_t first_row_year() const;
  int rows() const;
  // The N column of row r (0-based): the first series' count for that year, else 0.
  std::int32_t n(int r) const;
  // True when the column file writes years too wide for 4 columns as wide as needed (a
  // reading with long years).
  bool wide_years() const;

 private:
  friend class Reader;
  friend struct core::Access;
  explicit Reading(const core::ReadingState* state) : state_(state) {}
  const core::ReadingState* state_;
};

class Reader {
 public:
  Reader();
  ~Reader();
  Reader(Reader&&) noexcept;
  Reader& operator=(Reader&&) noexcept;

  // `name` is what diagnostics and errors call the input.
  const Reading& read_file(const std::string& path, const ReadOptions& options = {});
  const Reading& read_bytes(std::string_view bytes, const ReadOptions& options = {},
                            const std::string& name = "<bytes>");
  // Reads the stream to its end (in memory when the layout is found by trial).
  const Reading& read_stream(std::istream& in, const ReadOptions& options = {},
                             const std::string& name = "<stream>");

 private:
  std::unique_ptr<core::ReadingState> state_;
  std::unique_ptr<Reading> reading_;
};

}  // namespace quillet

#endif  // INCLUDE_QUILLET_READER_H_
