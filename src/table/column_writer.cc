#include "table/column_writer.h"

#include <array>

#include "fields/field_writer.h"

namespace quillet::table {

namespace {
constexpr std::size_t kYearWidth = 4;
constexpr std::size_t kNWidth = 4;
constexpr std::size_t kValueWidth = 6;
constexpr int kValueDecimals = 3;
}  // namespace

void build_header_line(const SeriesTable& series, char separator, std::string& line) {
  line.assign(" Year");
  line.push_back(separator);
  line.push_back('N');
  for (int i = 1; i <= series.series_count(); ++i) {
    line.push_back(separator);
    line.append(series.name(i));
  }
}

void build_data_line(const YearTable& years, int r, int series_count, char separator,
                     float* row, std::string& line) {
  line.clear();
  fields::put_integer(line, years.year(r), kYearWidth);
  line.push_back(separator);
  fields::put_integer(line, years.n(r), kNWidth);
  years.fill_row(r, row);
  for (int i = 0; i < series_count; ++i) {
    line.push_back(separator);
    fields::put_decimal(line, row[i], kValueWidth, kValueDecimals);
  }
}

void write_column_file(platform::OutputFile& out, const SeriesTable& series,
                       const YearTable& years, char separator, std::string_view line_end) {
  const int n = series.series_count();
  std::string line;
  line.reserve(16 + 9 * static_cast<std::size_t>(n));  // the longest line: 10,509 for 1500
  build_header_line(series, separator, line);
  line.append(line_end);
  out.write(line);

  std::array<float, kMaxSeries> row{};
  for (int r = 1; r <= years.rows(); ++r) {
    build_data_line(years, r, n, separator, row.data(), line);
    line.append(line_end);
    out.write(line);
  }
}

}  // namespace quillet::table
