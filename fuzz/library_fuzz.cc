// Fuzz target for the library's reading from bytes, the layout found by trial: the first byte
// picks the reading's options (strict or not, every count or not, the tab size), the rest is the
// file. Besides crashes, sanitizer reports and leaks it checks what a caller relies on: a
// reading is converted exactly when no diagnostic is an error; a converted reading's series lie
// within the capacities, each series' years agree with its values, every view answers, and its
// column file and long table can be written.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "quillet/quillet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static quillet::Reader reader;  // one for every input, as a program reads file after file
  quillet::ReadOptions options;
  options.strict = (data[0] & 1) != 0;
  options.every_count = (data[0] & 2) != 0;
  options.tab_size = data[0] / 4 % 10;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const quillet::Reading& reading = reader.read_bytes(bytes, options);

  bool errors = false;
  for (const quillet::Diagnostic& d : reading.diagnostics()) {
    errors = errors || d.severity == quillet::Severity::kError;
    if (quillet::message_line("<bytes>", d).find('\n') != std::string::npos) std::abort();
  }
  if (errors == reading.converted()) std::abort();
  if (!reading.converted()) return 0;
  if (reading.series_count() < 1 || reading.series_count() > quillet::kMaxSeries) std::abort();
  if (reading.rows() > quillet::kMaxYears) std::abort();
  for (int s = 0; s < reading.series_count(); ++s) {
    const quillet::Series series = reading.series(s);
    if (series.size() < 0 || series.size() > quillet::kMaxValues) std::abort();
    if (series.last_year() - series.first_year() + 1 != series.size()) std::abort();
    for (int i = 0; i < series.size(); ++i) {
      if (!options.every_count && s > 0 && series.count(i) != 0) std::abort();
      (void)series.thousandths(i);
    }
  }
  for (int r = 0; r < reading.rows(); ++r) (void)reading.n(r);
  std::ostringstream table;
  quillet::write_column_file(reading, table);
  if (table.str().rfind(" Year\tN", 0) != 0) std::abort();
  std::string long_table;
  quillet::append_long_lines(long_table, "<bytes>", reading, "\n");
  return 0;
}
