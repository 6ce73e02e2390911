#include "reading/ring_width.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quillet::reading {
namespace {

constexpr std::size_t kNameWidth = 8;
constexpr std::size_t kValuesStart = 12;  // the values begin in column 13
constexpr std::size_t kValueWidth = 6;
constexpr std::size_t kMaxValues = 10;
// Longer lines are none of these (a decade line of ten values has 72 columns).
constexpr std::size_t kKeptColumns = 256;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// An integer with an optional minus sign and no blank inside.
bool is_integer(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  if (text.empty() || text.size() > 9) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The values of a line in fields of six columns, or nothing when a field is not an integer.
bool fixed_fields(std::string_view rest, std::vector<std::string_view>& values) {
  values.clear();
  for (std::size_t at = 0; at < rest.size(); at += kValueWidth) {
    const std::string_view field = trimmed(rest.substr(at, kValueWidth));
    if (field.empty() && trimmed(rest.substr(at)).empty()) break;  // blanks to the end
    if (!is_integer(field)) return false;
    values.push_back(field);
  }
  return true;
}

// The values of a line apart by blanks, or nothing when one is not an integer.
bool blank_separated(std::string_view rest, std::vector<std::string_view>& values) {
  values.clear();
  std::size_t at = 0;
  while (at < rest.size()) {
    while (at < rest.size() && is_blank(rest[at])) ++at;
    const std::size_t start = at;
    while (at < rest.size() && !is_blank(rest[at])) ++at;
    if (at == start) break;
    const std::string_view value = rest.substr(start, at - start);
    if (!is_integer(value)) return false;
    values.push_back(value);
  }
  return true;
}

}  // namespace

bool is_ring_width_line(std::string_view line, bool& ends_sample) {
  ends_sample = false;
  if (line.size() <= kValuesStart || trimmed(line.substr(0, kNameWidth)).empty()) return false;
  if (!is_integer(trimmed(line.substr(kNameWidth, kValuesStart - kNameWidth)))) return false;
  const std::string_view rest = line.substr(kValuesStart);
  std::vector<std::string_view> values;
  if (!fixed_fields(rest, values) && !blank_separated(rest, values)) return false;
  if (values.empty() || values.size() > kMaxValues) return false;
  ends_sample = values.back() == "999" || values.back() == "-9999";
  return true;
}

std::optional<std::int64_t> first_ring_width_line(fields::LineReader& lines) {
  std::optional<std::int64_t> first;
  bool marker_seen = false;
  while (lines.next(kKeptColumns)) {
    bool ends_sample = false;
    if (lines.text().size() >= kKeptColumns || !is_ring_width_line(lines.text(), ends_sample)) {
      continue;
    }
    if (!first) first = lines.line_number();
    marker_seen = marker_seen || ends_sample;
  }
  if (!marker_seen) return std::nullopt;
  return first;
}

}  // namespace quillet::reading
