#include "reading/series_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>

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

std::optional<HeaderLineData> header_line_data(const fields::LineReader& input) {
  if (!reads_as_data(input.text())) return std::nullopt;
  return HeaderLineData{input.line_number(), std::string(series_name_of(input.text()))};
}

SeriesResult aindx(fields::LineReader& input, int s, int header_lines, table::SeriesTable& table,
                   std::string& trailing_label, Watch watch) {
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

  for (int h = 0; h < header_lines; ++h) {
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
  const std::string name = first.text(kNameWidth, kNameWidth);
  std::int32_t first_year = 0;
  if (!first.take_integer(kYearWidth, first_year)) {
    result.error = error_place(input, first.failed_column(), first.failed_text());
    return finish(SeriesOutcome::kReadError);
  }
  first.tab_to(kLabelColumn);
  trailing_label = first.text(kLabelLength, kLabelLength);
  input.step_back();

  if (stored) table.set_series(s, name, first_year);

  // The first value stands in the slot of its year within the decade.
  const auto skipped = static_cast<std::size_t>(((first_year % 10) + 10) % 10);
  std::size_t slots = kSlotsPerLine - skipped;
  std::size_t passed_over = kFieldsStart + kSlotWidth * skipped;

  bool too_long = false;
  bool first_line = true;
  Slots line_slots{};
  FailedField failed;
  for (;;) {
    if (!input.next(kDecadeLineColumns)) return finish(SeriesOutcome::kEndOfInput);
    content = content || !input.blank();
    const std::string_view line = input.text();
    // A continuation line that names another series: the one before probably lacks its end
    // marker. Lines whose name columns are blank, as the layout allows, say nothing.
    if (watch.run_into && !first_line && !result.run_into && !names_the_same(line, name) &&
        names_a_series(line)) {
      result.run_into = RunInto{input.line_number(), std::string(series_name_of(line)), s,
                                std::string(series_name_of(name))};
    }
    first_line = false;
    if (!read_slots(line, passed_over, slots, line_slots, failed)) {
      result.error = error_place(input, failed.column, failed.text);
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
    if (values < slots) {  // the end marker
      if (!stored) return finish(SeriesOutcome::kTooManySeries);
      if (too_long) return finish(SeriesOutcome::kSeriesTooLong);
      result.name = std::string(table.name(s));
      result.first_year = first_year;
      result.last_year = first_year + length - 1;
      result.label = trailing_label;
      return finish(SeriesOutcome::kSeriesRead);
    }
    slots = kSlotsPerLine;
    passed_over = kFieldsStart;
  }
}

}  // namespace quillet::reading
