// A reading judged once, for every way in: the input read in the layout of a file type, or in
// the first of the layouts that reads it without a problem; its outcome (converted, or its
// first problem); its diagnostics in the order met; and what the public view shows of it
// (quillet/reader.h). The ways in word the diagnostics; nothing here writes to a console.
#ifndef QUILLET_CORE_READING_STATE_H_
#define QUILLET_CORE_READING_STATE_H_

#include <optional>
#include <string>
#include <vector>

#include "core/conversion.h"
#include "platform/byte_source.h"
#include "quillet/diagnostic.h"
#include "quillet/reader.h"
#include "table/year_table.h"

namespace quillet::core {

// What a reading in a given file type meets, as it meets it (the dialogue reports as it goes).
class Observer {
 public:
  virtual ~Observer() = default;
  virtual void series_read(int s, const reading::SeriesResult& series) = 0;
  // A warning as it is met (not the one for a reading of no series, which comes last).
  virtual void warning(const Diagnostic& diagnostic) = 0;
};

class ReadingState {
 public:
  // Reads `source` from where it stands (under automatic layout it must be rewindable). With
  // an observer (only with a given file type) the series and warnings are handed out as met,
  // and the series' header lines and labels are left to the observer (the view has none).
  // Throws what the source throws (platform::SystemFailure) and std::bad_alloc.
  void read(platform::ByteSource& source, const ReadOptions& options, Observer* observer = nullptr);

  bool converted() const { return converted_; }
  int file_type() const { return file_type_; }
  const std::vector<Diagnostic>& diagnostics() const { return diagnostics_; }
  // The error that ends a reading that is not converted (the last of a trial's).
  const Diagnostic* problem() const;
  const std::vector<std::string>& conventions() const { return conventions_; }

  // The series read whole (a reading that is not converted may hold some too).
  int series_count() const { return series_count_; }
  const table::SeriesTable& table() const { return conversion_.table(); }
  const std::vector<std::string>& header_lines(int s) const;
  const std::string& label(int s) const { return labels_[static_cast<std::size_t>(s - 1)]; }
  const std::vector<std::string>& file_header_lines() const { return file_header_lines_; }
  // The years of the column file; only for a reading that reached the end of its input.
  const table::YearRange& range() const { return range_; }
  bool wide_years() const { return wide_years_; }

  // Writes the column file of a converted reading.
  void write(platform::OutputFile& out, std::string_view line_end,
             const std::optional<std::string>& missing) const;

 private:
  class Collect;
  // Reads one layout; returns its problem, if any, with the warnings met in `warnings`.
  std::optional<Diagnostic> read_layout(platform::ByteSource& source, const FileType& type,
                                        const ReadOptions& options, bool trial, Observer* observer,
                                        std::vector<Diagnostic>& warnings);

  Conversion conversion_;
  bool converted_ = false;
  int file_type_ = kAutomatic;
  int series_count_ = 0;
  std::vector<Diagnostic> diagnostics_;
  std::vector<std::string> conventions_;
  std::vector<std::string> labels_;
  std::vector<std::vector<std::string>> header_lines_;
  std::vector<std::string> file_header_lines_;
  table::YearRange range_;
  bool wide_years_ = false;
};

// The judged reading behind a public view.
struct Access {
  static const ReadingState& state(const Reading& reading) { return *reading.state_; }
  static Reading view(const ReadingState& state) { return Reading(&state); }
};

// True for the problems after which no later layout is tried: the limits.
bool is_limit(DiagnosticKind kind);

}  // namespace quillet::core

#endif  // QUILLET_CORE_READING_STATE_H_
