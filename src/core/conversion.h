// The reading loop: every series of an input read in the layout of a file type into the series
// table, then the column file written from it. What the reading meets is handed out as values
// as it is met; nothing here writes to the console, and the wording is the caller's. What the
// outcome means is judged by the reading (core/reading_state.h).
#ifndef QUILLET_CORE_CONVERSION_H_
#define QUILLET_CORE_CONVERSION_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_types.h"
#include "fields/line_reader.h"
#include "platform/files.h"
#include "reading/series_reader.h"
#include "table/series_table.h"
#include "table/year_table.h"

namespace quillet::core {

// What the reading meets on its way, in the order it meets it. Each of header_line_data and
// run_into comes at most once in a reading.
class ReadEvents {
 public:
  virtual ~ReadEvents() = default;
  // Series s was read whole (its report: name, first and last year, label).
  virtual void series_read(int s, const reading::SeriesResult& series) = 0;
  // A line passed over as a header line reads as the first line of a series.
  virtual void header_line_data(const reading::HeaderLineData& data) = 0;
  // A continuation line names another series than the one it is read into.
  virtual void run_into(const reading::RunInto& run_into) = 0;
  // The input ended inside series s, whose lines held more than blanks: it is not converted.
  virtual void cut_off(int s) = 0;
};

enum class ReadEnd {
  kEndOfInput,      // every series was read: the column file can be written
  kFileHeaderCut,   // the input ended inside the file header lines (types 2-5)
  kReadError,       // a field could not be read: `error` says where
  kHeaderLineData,  // a header line reads as data (only when asked to stop there)
  kTooManySeries,   // limits: nothing is written
  kSeriesTooLong,
};

struct ReadOutcome {
  ReadEnd end = ReadEnd::kEndOfInput;
  int series_count = 0;                                  // series read whole
  reading::ReadErrorPlace error{};                       // for kReadError
  std::optional<reading::HeaderLineData> header_data{};  // for kHeaderLineData
  bool cut_off = false;             // the input ended inside a series that held more than blanks
  reading::ConventionsUsed used{};  // the conventions the reading followed
  std::vector<std::string> file_header_lines{};  // as read
};

class Conversion {
 public:
  // Reads the input, standing at its first line, in the layout of `type`. With
  // `stop_at_header_data` a header line that reads as data ends the reading (kHeaderLineData)
  // instead of being reported through header_line_data. With `every_count` the counts of every
  // series are kept, else only the first series'. With `conventions` on, the data bank's
  // conventions are followed (series_reader.h). Throws std::bad_alloc when the series table
  // cannot be had, and what the input throws.
  ReadOutcome read(fields::LineReader& input, const FileType& type, ReadEvents& events,
                   bool stop_at_header_data = false, bool every_count = false,
                   reading::Conventions conventions = {});

  // The years of the series last read (maxage may be beyond the 8000 years of the table). Only
  // after a reading that ended with kEndOfInput: the table then holds exactly its series.
  table::YearRange year_range() const;
  // The series last read; only after a reading.
  const table::SeriesTable& table() const { return *table_; }

  // Writes the column file of the series last read; `range` is year_range(), within 8000
  // years. With `missing`, the cells of years before a series' first year or after its last
  // year hold that text instead of 0.000. With `wide_years`, years too wide for 4 columns are
  // written as wide as needed.
  void write(platform::OutputFile& out, const table::YearRange& range, std::string_view line_end,
             const std::optional<std::string>& missing = std::nullopt,
             bool wide_years = false) const;

 private:
  // Reserved at the first reading and kept for the next ones, cleared of what was written.
  std::unique_ptr<table::SeriesTable> table_;
};

}  // namespace quillet::core

#endif  // QUILLET_CORE_CONVERSION_H_
