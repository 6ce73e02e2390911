#include "reading/series_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "fields/field_reader.h"
#include "reading/decade_line.h"

namespace quillet::reading {
namespace {

constexpr std::size_t kNameWidth = 6;
constexpr std::size_t kYearWidth = 4;
constexpr std::size_t kLabelColumn = 81;
constexpr float kEndMarker = 9.99f;

bool is_end_marker(const Slots& slots, std::size_t k) {
  return slots.value[k] == kEndMarker && slots.count[k] == 0;
}

ReadErrorPlace error_place(const fields::LineReader& input, std::size_t column,
                           std::string_view text) {
  return {.line = input.line_number(),
          .first_column = column,
          .last_column = column + text.size() - 1,
          .text = std::string(text)};
}

// True when columns 1-6 of the line (blanks past its end) are the 6 characters of `name`.
bool names_the_same(std::string_view line, std::string_view name) {
  if (line.size() >= kNameWidth) {
    // Six bytes as a word of four and one of two, without a call for so few.
    std::uint32_t line_head = 0;
    std::uint32_t name_head = 0;
    std::uint16_t line_tail = 0;
    std::uint16_t name_tail = 0;
    std::memcpy(&line_head, line.data(), 4);
    std::memcpy(&name_head, name.data(), 4);
    std::memcpy(&line_tail, line.data() + 4, 2);
    std::memcpy(&name_tail, name.data() + 4, 2);
    return line_head == name_head && line_tail == name_tail;
  }
  for (std::size_t k = 0; k < kNameWidth; ++k) {
    if ((k < line.size() ? line[k] : ' ') != name[k]) return false;
  }
  return true;
}

// The same with long years: columns 1-5.
bool names_the_same(std::string_view line, std::string_view name, bool long_years) {
  if (!long_years) return names_the_same(line, name);
  for (std::size_t k = 0; k < kLongNameWidth; ++k) {
    if ((k < line.size() ? line[k] : ' ') != name[k]) return false;
  }
  return true;
}

// The name of a line as messages show it: columns 1-6 (1-5 with long years), trailing blanks
// cut.
std::string name_of(std::string_view line, bool long_years) {
  std::string_view name = series_name_of(line);
  if (long_years && name.size() > kLongNameWidth) {
    name = name.substr(0, kLongNameWidth);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  }
  return std::string(name);
}

// The slots of a first line of `year`: how many, and the columns passed over in front.
struct FirstLinePlan {
  std::size_t slots;
  std::size_t passed_over;
};
FirstLinePlan plan_of(std::int32_t year) {
  const auto skipped = static_cast<std::size_t>(((year % 10) + 10) % 10);
  return {kSlotsPerLine - skipped, kFieldsStart + kSlotWidth * skipped};
}

// True when the line reads as the first line of a series: it names one and its slots read.
bool reads_as_first_line(std::string_view line) {
  if (!names_a_series(line)) return false;
  const FirstLinePlan plan = plan_of(*year_of(line, false));
  Slots slots{};
  FailedField failed;
  return read_slots(line, plan.passed_over, plan.slots, slots, failed);
}

// The lines between two series that the conventions pass over: blank lines and one
// statistics line of the series before.
struct BetweenSeries {
  std::string_view name;  // columns 1-6 of the series before
  bool blank = false;
  bool statistics = false;
  bool take(const fields::LineReader& input) {
    if (input.blank()) return blank = true;
    if (!statistics && is_statistics_line(input.text(), name)) return statistics = true;
    return false;
  }
};

// Where passing over the lines between series left the input.
enum class Between {
  kFirstLine,    // in front of the series' first line (or first header line, still to be read)
  kHeadersRead,  // the header lines are read: in front of the first line
  kEnd,          // the input ended
};

// Stores the values of slots first..first + n - 1 of a line from place p on: the thousandths
// at once when the quick branch read the line, the values one by one when it did not.
void store_line(table::SeriesTable& table, int s, std::int32_t p, const Slots& slots,
                std::size_t first, std::size_t n) {
  if (slots.plain) {
    table.set_thousandths(s, p, slots.thousandths.data() + first, slots.count.data() + first, n);
    return;
  }
  for (std::size_t k = 0; k < n; ++k) {
    table.set(s, p + static_cast<std::int32_t>(k), slots.value[first + k], slots.count[first + k]);
  }
}

}  // namespace

std::optional<HeaderLineData> header_line_data(std::int64_t line, std::string_view text) {
  if (!reads_as_data(text)) return std::nullopt;
  return HeaderLineData{line, std::string(series_name_of(text))};
}

std::optional<HeaderLineData> header_line_data(const fields::LineReader& input) {
  return header_line_data(input.line_number(), input.text());
}

namespace {

// Passes over the lines between series s - 1 and series s as the conventions say (s >= 2).
// `content` is set when the input ends among lines that held more than the ones passed over.
Between between_series(fields::LineReader& input, int header_lines, std::string_view name_before,
                       Watch watch, SeriesResult& result, bool& content) {
  BetweenSeries between{name_before.substr(0, 6)};
  if (header_lines == 0) {
    for (;;) {
      if (!input.next(kDecadeLineColumns)) {
        result.used.statistics_line = between.statistics;
        return Between::kEnd;
      }
      if (!between.take(input)) break;
    }
    input.step_back();
    result.used.blank_lines = between.blank;
    result.used.statistics_line = between.statistics;
    return Between::kFirstLine;
  }

  if (!input.next(kDecadeLineColumns)) return Between::kEnd;
  if (!between.take(input)) {
    input.step_back();
    return Between::kFirstLine;
  }
  // The lines the rules would read as the header lines and the first line, kept to be judged.
  struct Line {
    std::int64_t number;
    std::string text;
    bool blank;
  };
  const auto keep = [&input] {
    return Line{input.line_number(), std::string(input.text()), input.blank()};
  };
  const auto header_size = static_cast<std::size_t>(header_lines);
  std::vector<Line> lines{keep()};
  std::size_t passed = 1;  // the lines in front that the conventions would pass over
  // A header line of the series: kept, and looked at for data.
  const auto take_header = [&](const Line& line) {
    result.header_lines.push_back(line.text);
    if (watch.header_data && !result.header_data) {
      result.header_data = header_line_data(line.number, line.text);
    }
  };
  while (lines.size() < header_size + 1) {
    if (!input.next(kDecadeLineColumns)) {
      if (passed == lines.size()) {
        result.used.statistics_line = between.statistics;
        return Between::kEnd;
      }
      // Cut off in the header lines of the next series.
      for (std::size_t i = passed; i < lines.size(); ++i) take_header(lines[i]);
      content = true;
      return Between::kEnd;
    }
    if (passed == lines.size() && between.take(input)) ++passed;
    lines.push_back(keep());
  }
  if (reads_as_data(lines[header_size].text)) {
    // The rules' reading: the lines kept are the header lines and the first line.
    for (std::size_t i = 0; i < header_size; ++i) {
      content = content || !lines[i].blank;
      take_header(lines[i]);
    }
    input.step_back();
    return Between::kHeadersRead;
  }
  std::size_t headers = lines.size() - passed;  // header lines read so far
  if (headers == 0) {
    for (;;) {
      if (!input.next(kDecadeLineColumns)) {
        result.used.statistics_line = between.statistics;
        return Between::kEnd;
      }
      if (!between.take(input)) break;
    }
    take_header(keep());
    headers = 1;
  } else {
    for (std::size_t i = passed; i < lines.size(); ++i) take_header(lines[i]);
  }
  content = true;  // the first header line holds more than blanks
  result.used.blank_lines = between.blank;
  result.used.statistics_line = between.statistics;
  for (; headers < header_size; ++headers) {
    if (!input.next(kDecadeLineColumns)) {
      content = true;
      return Between::kEnd;
    }
    take_header(keep());
  }
  return Between::kHeadersRead;
}

template <bool kConventions>
SeriesResult read_series(fields::LineReader& input, int s, int header_lines,
                         table::SeriesTable& table, std::string& trailing_label, Watch watch) {
  const bool stored = s <= table::kMaxSeries;
  SeriesResult result;
  bool content = false;  // something other than blanks has been read of this series
  std::int32_t length = 0;
  // Every way out: a stored series keeps the number of places it wrote.
  const auto finish = [&](SeriesOutcome outcome) -> SeriesResult {
    if (stored) table.set_length(s, length);
    result.outcome = outcome;
    if (outcome == SeriesOutcome::kEndOfInput) result.cut_off_content = content;
    return std::move(result);
  };

  bool headers_read = false;
  if constexpr (kConventions) {
    if (s >= 2) {
      switch (between_series(input, header_lines, table.name(s - 1), watch, result, content)) {
        case Between::kFirstLine:
          break;
        case Between::kHeadersRead:
          headers_read = true;
          break;
        case Between::kEnd:
          return finish(SeriesOutcome::kEndOfInput);
      }
    }
  }
  for (int h = 0; h < header_lines && !headers_read; ++h) {
    if (!input.next(kDecadeLineColumns)) return finish(SeriesOutcome::kEndOfInput);
    content = content || !input.blank();
    result.header_lines.emplace_back(input.text());
    if (watch.header_data && !result.header_data) result.header_data = header_line_data(input);
  }

  // The first line gives the name, the first year and the label, and is then read once more
  // as the series' first line of data.
  if (!input.next(kDecadeLineColumns)) return finish(SeriesOutcome::kEndOfInput);
  content = content || !input.blank();
  fields::FieldReader first(input.text());
  std::string name = first.text(kNameWidth, kNameWidth);
  std::int32_t first_year = 0;
  if (!first.take_integer(kYearWidth, first_year)) {
    result.error = error_place(input, first.failed_column(), first.failed_text());
    return finish(SeriesOutcome::kReadError);
  }
  first.tab_to(kLabelColumn);
  trailing_label = first.text(kLabelLength, kLabelLength);

  // With the conventions: the first line read from a copy when the line after it was looked at
  // to tell a long year; the decade order of the lines so far.
  [[maybe_unused]] bool long_years = false;
  [[maybe_unused]] std::string first_copy;
  [[maybe_unused]] std::int64_t first_number = 0;
  [[maybe_unused]] bool steps = false;
  [[maybe_unused]] bool after_blank = false;
  [[maybe_unused]] std::int32_t next_decade = 0;
  [[maybe_unused]] std::int64_t read_values = 0;  // stored or not
  [[maybe_unused]] std::int64_t kept_values = 0;  // up to the last non-blank line
  if constexpr (kConventions) {
    steps = names_a_series(input.text());
    next_decade = decade_of(first_year) + 10;
    if (may_hold_long_year(input.text())) {
      first_copy.assign(input.text());
      first_number = input.line_number();
      const std::int32_t long_year = *year_of(first_copy, true);
      const FirstLinePlan plan = plan_of(long_year);
      Slots slots{};
      FailedField failed;
      bool marker_on_first = true;
      if (read_slots(first_copy, plan.passed_over, plan.slots, slots, failed)) {
        marker_on_first = false;
        for (std::size_t k = 0; k < plan.slots; ++k) {
          marker_on_first = marker_on_first || is_end_marker(slots, k);
        }
      }
      if (!marker_on_first && input.next(kDecadeLineColumns)) {
        long_years = names_the_same(input.text(), first_copy, true) &&
                     year_of(input.text(), true) == decade_of(long_year) + 10;
        input.step_back();
      }
      if (long_years) {
        name.replace(kLongNameWidth, std::string::npos, kNameWidth - kLongNameWidth, ' ');
        first_year = long_year;
        next_decade = decade_of(long_year) + 10;
        result.used.long_years = true;
      }
    }
  }
  if (first_copy.empty()) input.step_back();

  if (stored) table.set_series(s, name, first_year);

  // The first value stands in the slot of its year within the decade.
  const FirstLinePlan plan = plan_of(first_year);
  std::size_t slots = plan.slots;
  std::size_t passed_over = plan.passed_over;

  // The series is complete: its end marker, or with the conventions the next series' first line
  // or the end of the input, ends it.
  const auto complete = [&]() -> SeriesResult {
    result.name = std::string(table.name(s));
    result.first_year = first_year;
    result.last_year = first_year + length - 1;
    result.label = trailing_label;
    return finish(SeriesOutcome::kSeriesRead);
  };

  bool too_long = false;
  bool first_line = true;
  Slots line_slots{};
  FailedField failed;
  for (;;) {
    std::string_view line;
    std::int64_t number = 0;
    bool from_copy = false;
    if constexpr (kConventions) from_copy = first_line && !first_copy.empty();
    if (from_copy) {
      line = first_copy;
      number = first_number;
    } else {
      if (!input.next(kDecadeLineColumns)) {
        if constexpr (kConventions) {
          // The end of the input ends a series that steps by decades.
          if (steps) {
            result.unfinished = true;
            result.used.unfinished = true;
            if (!stored) return finish(SeriesOutcome::kTooManySeries);
            if (kept_values > table::kMaxValues) return finish(SeriesOutcome::kSeriesTooLong);
            length = static_cast<std::int32_t>(kept_values);
            return complete();
          }
        }
        return finish(SeriesOutcome::kEndOfInput);
      }
      content = content || !input.blank();
      line = input.text();
      number = input.line_number();
    }
    [[maybe_unused]] bool blank = false;
    if constexpr (kConventions) {
      blank = !from_copy && input.blank();
      if (!first_line && !blank) {
        const bool in_order = !after_blank && year_of(line, long_years) == next_decade;
        // A line that starts the next series where this one has no end marker (a blank line
        // in front of it is out of decade order).
        if (header_lines == 0 && steps && !after_blank && !in_order &&
            !names_the_same(line, name, long_years) && reads_as_first_line(line)) {
          input.step_back();
          result.no_end_marker =
              NoEndMarker{number, std::string(series_name_of(line)), s, name_of(name, long_years)};
          result.used.split = true;
          if (!stored) return finish(SeriesOutcome::kTooManySeries);
          if (too_long) return finish(SeriesOutcome::kSeriesTooLong);
          return complete();
        }
        steps = steps && in_order;
        next_decade += 10;
      }
      after_blank = after_blank || blank;
    }
    // A continuation line that names another series: the one before probably lacks its end
    // marker. Lines whose name columns are blank, as the layout allows, say nothing.
    bool other_name = false;
    if constexpr (kConventions) {
      other_name = !names_the_same(line, name, long_years);
    } else {
      other_name = !names_the_same(line, name);
    }
    if (watch.run_into && !first_line && !result.run_into && other_name && names_a_series(line)) {
      result.run_into = RunInto{number, name_of(line, long_years), s, name_of(name, long_years)};
    }
    first_line = false;
    if (!read_slots(line, passed_over, slots, line_slots, failed)) {
      result.error = ReadErrorPlace{.line = number,
                                    .first_column = failed.column,
                                    .last_column = failed.column + failed.text.size() - 1,
                                    .text = std::string(failed.text)};
      return finish(SeriesOutcome::kReadError);
    }
    // The slots in front of an end marker (all of them when there is none) are values.
    std::size_t values = 0;
    while (values < slots && !is_end_marker(line_slots, values)) ++values;
    if (stored && !too_long && length + static_cast<std::int32_t>(values) <= table::kMaxValues) {
      store_line(table, s, length + 1, line_slots, 0, values);
      length += static_cast<std::int32_t>(values);
    } else if (stored) {
      // Values past the table's 8000 places are read on but not stored: only the end
      // marker tells a series too long from one the end of the input cuts off.
      for (std::size_t k = 0; k < values; ++k) {
        if (length == table::kMaxValues) {
          too_long = true;
          break;
        }
        store_line(table, s, ++length, line_slots, k, 1);
      }
    }
    if constexpr (kConventions) {
      read_values += static_cast<std::int64_t>(values);
      if (!blank) kept_values = read_values;
    }
    if (values < slots) {  // the end marker
      if (!stored) return finish(SeriesOutcome::kTooManySeries);
      if (too_long) return finish(SeriesOutcome::kSeriesTooLong);
      return complete();
    }
    slots = kSlotsPerLine;
    passed_over = kFieldsStart;
  }
}

}  // namespace

SeriesResult aindx(fields::LineReader& input, int s, int header_lines, table::SeriesTable& table,
                   std::string& trailing_label, Watch watch, Conventions conventions) {
  return conventions.on ? read_series<true>(input, s, header_lines, table, trailing_label, watch)
                        : read_series<false>(input, s, header_lines, table, trailing_label, watch);
}

}  // namespace quillet::reading
