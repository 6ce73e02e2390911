#include "testing/decade_lines.h"

#include <cstdio>

namespace quillet::testing {

void append_series(std::string& out, std::string_view name, long first_year, long length,
                   const std::function<Slot(long)>& slot, std::string_view label,
                   std::string_view line_end) {
  const long skipped = ((first_year % 10) + 10) % 10;
  const auto head = [&](long year) {
    char text[32];
    std::snprintf(text, sizeof text, "%-6.6s%4ld", std::string(name).c_str(), year);
    return std::string(text);
  };
  std::string line = head(first_year);
  line.append(static_cast<std::size_t>(7 * skipped), ' ');
  bool first_line = true;
  long decade = first_year - skipped;
  for (long v = 0; v <= length; ++v) {
    char field[32];
    if (v < length) {
      const Slot s = slot(v);
      std::snprintf(field, sizeof field, "%4ld%3ld", s.value, s.count);
    } else {
      std::snprintf(field, sizeof field, "9990  0");
    }
    line += field;
    if (line.size() == 80 || v == length) {
      if (first_line && !label.empty()) {
        line.resize(80, ' ');
        line += label;
      }
      out += line;
      out += line_end;
      first_line = false;
      decade += 10;
      line = head(decade);
    }
  }
}

}  // namespace quillet::testing
