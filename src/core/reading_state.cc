#include "core/reading_state.h"

#include <stdexcept>
#include <string_view>

#include "core/file_types.h"
#include "fields/line_reader.h"
#include "reading/ring_width.h"
#include "table/limits.h"

namespace quillet::core {
namespace {

Diagnostic error(DiagnosticKind kind) {
  Diagnostic d;
  d.kind = kind;
  d.severity = Severity::kError;
  return d;
}

Diagnostic warning(DiagnosticKind kind) {
  Diagnostic d;
  d.kind = kind;
  d.severity = Severity::kWarning;
  return d;
}

std::string without_trailing_blanks(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return std::string(name);
}

// The names of the conventions a reading followed, in their fixed order.
std::vector<std::string> convention_names(const reading::ConventionsUsed& used) {
  std::vector<std::string> names;
  if (used.long_years) names.emplace_back("long years");
  if (used.split) names.emplace_back("series split by their names");
  if (used.unfinished) names.emplace_back("last series without its end marker");
  if (used.blank_lines) names.emplace_back("blank lines between series");
  if (used.statistics_line) names.emplace_back("statistics lines");
  return names;
}

}  // namespace

bool is_limit(DiagnosticKind kind) {
  return kind == DiagnosticKind::kTooManySeries || kind == DiagnosticKind::kSeriesTooLong ||
         kind == DiagnosticKind::kYearRangeTooLong;
}

// The reading's events as diagnostics, and what the view keeps of each series.
class ReadingState::Collect : public ReadEvents {
 public:
  Collect(ReadingState& state, Observer* observer, std::vector<Diagnostic>& warnings)
      : state_(state), observer_(observer), warnings_(warnings) {}

  void series_read(int s, const reading::SeriesResult& series) override {
    if (observer_ != nullptr) {
      observer_->series_read(s, series);  // the observer keeps what it needs of the series
    } else {
      state_.labels_.push_back(series.label);
      state_.header_lines_.push_back(series.header_lines);
    }
    // What the writer of the file left out, under the conventions.
    if (series.no_end_marker) {
      Diagnostic d = warning(DiagnosticKind::kNoEndMarker);
      d.line = series.no_end_marker->line;
      d.name = series.no_end_marker->name;
      d.series = s;
      d.series_name = series.no_end_marker->series_name;
      add(std::move(d));
    }
    if (series.unfinished) {
      Diagnostic d = warning(DiagnosticKind::kUnfinished);
      d.series = s;
      d.series_name = without_trailing_blanks(series.name);
      d.number = series.last_year;
      add(std::move(d));
    }
  }
  void header_line_data(const reading::HeaderLineData& data) override {
    Diagnostic d = warning(DiagnosticKind::kHeaderLineData);
    d.line = data.line;
    d.name = data.name;
    add(std::move(d));
  }
  void run_into(const reading::RunInto& run_into) override {
    Diagnostic d = warning(DiagnosticKind::kRunInto);
    d.line = run_into.line;
    d.name = run_into.name;
    d.series = run_into.series;
    d.series_name = run_into.series_name;
    add(std::move(d));
  }
  void cut_off(int s) override {
    Diagnostic d = warning(DiagnosticKind::kCutOff);
    d.series = s;
    add(std::move(d));
  }

 private:
  void add(Diagnostic d) {
    if (observer_ != nullptr) observer_->warning(d);
    warnings_.push_back(std::move(d));
  }
  ReadingState& state_;
  Observer* observer_;
  std::vector<Diagnostic>& warnings_;
};

void ReadingState::read(platform::ByteSource& source, const ReadOptions& options,
                        Observer* observer) {
  if (options.file_type != kAutomatic && (options.file_type < 0 || options.file_type > 9)) {
    throw std::invalid_argument("file type " + std::to_string(options.file_type) + ": auto or 0-9");
  }
  converted_ = false;
  diagnostics_.clear();
  conventions_.clear();
  series_count_ = 0;
  range_ = table::YearRange();
  wide_years_ = false;

  if (options.file_type != kAutomatic) {
    file_type_ = options.file_type;
    std::vector<Diagnostic> warnings;
    const std::optional<Diagnostic> problem =
        read_layout(source, core::file_type(options.file_type), options, false, observer, warnings);
    diagnostics_ = std::move(warnings);
    if (problem) {
      diagnostics_.push_back(*problem);
      return;
    }
    converted_ = true;
    if (series_count_ == 0) diagnostics_.push_back(warning(DiagnosticKind::kNoSeries));
    return;
  }

  // The first layout that reads the input without a problem; a limit met by a layout ends the
  // search (the file is too big, whatever its layout).
  file_type_ = kAutomatic;
  std::vector<Diagnostic> errors;
  for (const int layout : kLayoutsToTry) {
    if (!errors.empty()) source.rewind();
    std::vector<Diagnostic> warnings;
    std::optional<Diagnostic> problem =
        read_layout(source, core::file_type(layout), options, true, nullptr, warnings);
    if (!problem) {
      converted_ = true;
      file_type_ = layout;
      diagnostics_ = std::move(warnings);
      return;
    }
    problem->file_type = layout;
    errors.push_back(std::move(*problem));
    if (is_limit(errors.back().kind)) {
      diagnostics_ = std::move(errors);
      return;
    }
  }
  // No layout reads it: a file of ring-width measurements is said to be one, in one line.
  source.rewind();
  fields::LineReader lines(source, options.tab_size, fields::LineEnds::kFileDecides);
  if (const std::optional<std::int64_t> line = reading::first_ring_width_line(lines)) {
    Diagnostic d = error(DiagnosticKind::kRingWidth);
    d.line = *line;
    diagnostics_ = {std::move(d)};
    return;
  }
  diagnostics_ = std::move(errors);
}

std::optional<Diagnostic> ReadingState::read_layout(platform::ByteSource& source,
                                                    const FileType& type,
                                                    const ReadOptions& options, bool trial,
                                                    Observer* observer,
                                                    std::vector<Diagnostic>& warnings) {
  labels_.clear();
  header_lines_.clear();
  conventions_.clear();
  wide_years_ = false;
  fields::LineReader input(source, options.tab_size, fields::LineEnds::kFileDecides);
  Collect events(*this, observer, warnings);
  ReadOutcome outcome =
      conversion_.read(input, type, events, trial, options.every_count, {.on = !options.strict});
  series_count_ = outcome.series_count;
  file_header_lines_ = std::move(outcome.file_header_lines);
  switch (outcome.end) {
    case ReadEnd::kEndOfInput:
      break;
    case ReadEnd::kFileHeaderCut: {
      Diagnostic d = error(DiagnosticKind::kFileHeaderCut);
      d.number = type.file_header_lines;
      return d;
    }
    case ReadEnd::kReadError: {
      Diagnostic d = error(DiagnosticKind::kReadError);
      d.line = outcome.error.line;
      d.first_column = outcome.error.first_column;
      d.last_column = outcome.error.last_column;
      d.text = std::move(outcome.error.text);
      return d;
    }
    case ReadEnd::kHeaderLineData: {
      Diagnostic d = error(DiagnosticKind::kHeaderLineStop);
      d.line = outcome.header_data->line;
      d.name = outcome.header_data->name;
      return d;
    }
    case ReadEnd::kTooManySeries: {
      Diagnostic d = error(DiagnosticKind::kTooManySeries);
      d.number = table::kMaxSeries;
      return d;
    }
    case ReadEnd::kSeriesTooLong: {
      Diagnostic d = error(DiagnosticKind::kSeriesTooLong);
      d.number = table::kMaxValues;
      return d;
    }
  }
  range_ = conversion_.year_range();
  if (range_.maxage > table::kMaxYears) {
    Diagnostic d = error(DiagnosticKind::kYearRangeTooLong);
    d.number = table::kMaxYears;
    return d;
  }
  if (trial && series_count_ == 0) {
    Diagnostic d = error(DiagnosticKind::kNothingRead);
    d.series = outcome.cut_off ? 1 : 0;
    return d;
  }
  conventions_ = convention_names(outcome.used);
  wide_years_ = outcome.used.long_years;
  return std::nullopt;
}

const Diagnostic* ReadingState::problem() const {
  if (converted_ || diagnostics_.empty()) return nullptr;
  return &diagnostics_.back();
}

const std::vector<std::string>& ReadingState::header_lines(int s) const {
  return header_lines_[static_cast<std::size_t>(s - 1)];
}

void ReadingState::write(platform::OutputFile& out, std::string_view line_end,
                         const std::optional<std::string>& missing) const {
  conversion_.write(out, range_, line_end, missing, wide_years_);
}

}  // namespace quillet::core
