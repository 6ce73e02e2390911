#include "reading/series_reader.h"

#include <optional>

#include "fields/field_reader.h"
#include "fields/field_writer.h"
#include "reading/decade_line.h"

namespace quillet::reading {
namespace {

constexpr std::size_t kNameWidth = 6;
constexpr std::size_t kYearWidth = 4;
constexpr std::size_t kLabelColumn = 81;
constexpr float kEndMarker = 9.99f;

bool is_end_marker(const Slot& slot) { return slot.value == kEndMarker && slot.count == 0; }

std::array<std::string, 3> series_report(int s, std::string_view name, std::int32_t first_year,
                                         std::int32_t last_year, std::string_view label) {
  std::string heading = " Reading in series ";
  fields::put_integer(heading, s, 4);
  std::string years = " ";
  years.append(name);
  years.push_back(' ');
  fields::put_integer(years, first_year, 5);
  years.push_back(' ');
  fields::put_integer(years, last_year, 5);
  years.append("  ");
  years.append(label);
  return {std::move(heading), std::move(years), ""};
}

}  // namespace

std::vector<std::string> stop_lines(std::string_view reason) {
  return {fields::plain_line(reason), fields::plain_line(" Program terminating ")};
}

OutcomeReport outcome_report(int s, const SeriesResult& result) {
  switch (result.outcome) {
    case SeriesOutcome::kSeriesRead: {
      const auto lines =
          series_report(s, result.name, result.first_year, result.last_year, result.label);
      return {{lines.begin(), lines.end()}, {}};
    }
    case SeriesOutcome::kEndOfInput:
      if (!result.cut_off_content) return {};
      return {{},
              {" Warning: the input ends inside series " + std::to_string(s) +
               ", before its end marker; that series is not converted"}};
    case SeriesOutcome::kReadError:
      return {stop_lines(" Error reading data "), {}};
    case SeriesOutcome::kTooManySeries:
      return {stop_lines(table::limit_message(table::Limit::kSeries)), {}};
    case SeriesOutcome::kSeriesTooLong:
      return {stop_lines(table::limit_message(table::Limit::kValues)), {}};
  }
  return {};
}

SeriesResult aindx(fields::LineReader& input, int s, int header_lines, table::SeriesTable& table,
                   std::string& trailing_label) {
  const bool stored = s <= table::kMaxSeries;
  bool content = false;  // something other than blanks has been read of this series
  const auto end_of_input = [&content] {
    return SeriesResult{.outcome = SeriesOutcome::kEndOfInput, .cut_off_content = content};
  };

  for (int h = 0; h < header_lines; ++h) {
    if (!input.next(kDecadeLineColumns)) return end_of_input();
    content = content || !input.blank();
  }

  // The first line gives the name, the first year and the label, and is then read once more
  // as the series' first line of data.
  if (!input.next(kDecadeLineColumns)) return end_of_input();
  content = content || !input.blank();
  fields::FieldReader first(input.text());
  const std::string name = first.text(kNameWidth, kNameWidth);
  const std::optional<std::int32_t> first_year = first.integer(kYearWidth);
  if (!first_year) return {.outcome = SeriesOutcome::kReadError};
  first.tab_to(kLabelColumn);
  trailing_label = first.text(kLabelLength, kLabelLength);
  input.step_back();

  if (stored) table.set_series(s, name, *first_year);

  // The first value stands in the slot of its year within the decade.
  const auto skipped = static_cast<std::size_t>(((*first_year % 10) + 10) % 10);
  std::size_t slots = kSlotsPerLine - skipped;
  std::size_t passed_over = kFieldsStart + kSlotWidth * skipped;

  std::int32_t length = 0;
  bool too_long = false;
  Slots line_slots{};
  for (;;) {
    if (!input.next(kDecadeLineColumns)) return end_of_input();
    content = content || !input.blank();
    if (!read_slots(input.text(), passed_over, slots, line_slots)) {
      return {.outcome = SeriesOutcome::kReadError};
    }
    for (std::size_t k = 0; k < slots; ++k) {
      const Slot& slot = line_slots[k];
      if (is_end_marker(slot)) {
        if (!stored) return {.outcome = SeriesOutcome::kTooManySeries};
        if (too_long) return {.outcome = SeriesOutcome::kSeriesTooLong};
        table.set_length(s, length);
        return {.outcome = SeriesOutcome::kSeriesRead,
                .name = std::string(table.name(s)),
                .first_year = *first_year,
                .last_year = *first_year + length - 1,
                .label = trailing_label};
      }
      // Values past the table's 8000 places are read on but not stored: only the end
      // marker tells a series too long from one the end of the input cuts off.
      if (!stored) continue;
      if (length == table::kMaxValues) {
        too_long = true;
        continue;
      }
      ++length;
      table.set(s, length, slot.value, slot.count);
    }
    slots = kSlotsPerLine;
    passed_over = kFieldsStart;
  }
}

}  // namespace quillet::reading
