#include "core/conversion.h"

#include "table/column_writer.h"

namespace quillet::core {
namespace {

constexpr char kSeparator = '\t';

}  // namespace

ReadOutcome Conversion::read(fields::LineReader& input, const FileType& type, ReadEvents& events,
                             bool stop_at_header_data, bool every_count,
                             reading::Conventions conventions) {
  ReadOutcome outcome;
  reading::Watch watch;
  // A header line that reads as data: reported once, or the end of a reading that stops there.
  const auto header_data_ends = [&](const std::optional<reading::HeaderLineData>& data) {
    if (!data) return false;
    watch.header_data = false;
    if (stop_at_header_data) {
      outcome.end = ReadEnd::kHeaderLineData;
      outcome.header_data = data;
      return true;
    }
    events.header_line_data(*data);
    return false;
  };

  for (int i = 0; i < type.file_header_lines; ++i) {
    if (!input.next(reading::kDecadeLineColumns)) {
      outcome.end = ReadEnd::kFileHeaderCut;
      return outcome;
    }
    outcome.file_header_lines.emplace_back(input.text());
    if (watch.header_data && header_data_ends(reading::header_line_data(input))) return outcome;
  }

  if (table_) {
    table_->clear();
  } else {
    table_ = std::make_unique<table::SeriesTable>();
  }
  table_->keep_every_count(every_count);
  std::string trailing_label(reading::kLabelLength, ' ');
  for (int s = 1;; ++s) {
    reading::SeriesResult result = reading::aindx(input, s, type.header_lines_per_series, *table_,
                                                  trailing_label, watch, conventions);
    if (header_data_ends(result.header_data)) return outcome;
    outcome.used.long_years = outcome.used.long_years || result.used.long_years;
    outcome.used.split = outcome.used.split || result.used.split;
    outcome.used.unfinished = outcome.used.unfinished || result.used.unfinished;
    outcome.used.blank_lines = outcome.used.blank_lines || result.used.blank_lines;
    outcome.used.statistics_line = outcome.used.statistics_line || result.used.statistics_line;
    if (result.run_into) {
      watch.run_into = false;
      events.run_into(*result.run_into);
    }
    outcome.series_count = s - 1;
    switch (result.outcome) {
      case reading::SeriesOutcome::kSeriesRead:
        events.series_read(s, result);
        continue;
      case reading::SeriesOutcome::kEndOfInput:
        if (result.cut_off_content) {
          outcome.cut_off = true;
          events.cut_off(s);
        }
        table_->set_series_count(s - 1);
        outcome.end = ReadEnd::kEndOfInput;
        return outcome;
      case reading::SeriesOutcome::kReadError:
        outcome.end = ReadEnd::kReadError;
        outcome.error = std::move(result.error);
        return outcome;
      case reading::SeriesOutcome::kTooManySeries:
        outcome.end = ReadEnd::kTooManySeries;
        return outcome;
      case reading::SeriesOutcome::kSeriesTooLong:
        outcome.end = ReadEnd::kSeriesTooLong;
        return outcome;
    }
  }
}

table::YearRange Conversion::year_range() const { return table::find_year_range(*table_); }

void Conversion::write(platform::OutputFile& out, const table::YearRange& range,
                       std::string_view line_end, const std::optional<std::string>& missing,
                       bool wide_years) const {
  const table::YearTable years(*table_, range);
  table::write_column_file(out, *table_, years, kSeparator, line_end,
                           missing ? std::optional<std::string_view>(*missing) : std::nullopt,
                           wide_years);
}

}  // namespace quillet::core
