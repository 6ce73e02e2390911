#include "table/column_writer.h"

#include <algorithm>
#include <array>
#include <memory>

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

std::size_t data_line_length(int series_count) {
  return kYearWidth + 1 + kNWidth + (1 + kValueWidth) * static_cast<std::size_t>(series_count);
}

char* build_data_line(const YearTable& years, int r, int series_count, char separator, float* row,
                      char* out) {
  out = fields::write_integer(out, years.year(r), kYearWidth);
  *out++ = separator;
  out = fields::write_integer(out, years.n(r), kNWidth);
  years.fill_row(r, row);
  for (int i = 0; i < series_count; ++i) {
    *out++ = separator;
    out = fields::write_decimal(out, row[i], kValueWidth, kValueDecimals);
  }
  return out;
}

namespace {

// A data line whose cells outside each series' years hold the `missing` text.
char* build_data_line_with_missing(const YearTable& years, int r, int series_count, char separator,
                                   std::string_view missing, char* out) {
  out = fields::write_integer(out, years.year(r), kYearWidth);
  *out++ = separator;
  out = fields::write_integer(out, years.n(r), kNWidth);
  for (int i = 1; i <= series_count; ++i) {
    *out++ = separator;
    if (years.within_series(i, r)) {
      out = fields::write_decimal(out, years.cell(i, r), kValueWidth, kValueDecimals);
    } else {
      out = std::copy(missing.begin(), missing.end(), out);
    }
  }
  return out;
}

// Gathers whole lines into large writes. Lines are built in place, so each byte of the
// column file is written once here and copied once more, by the system.
class LineBuffer {
 public:
  // `longest_line`: the most that one reserve() asks for; `total`: all that will be written
  // (a small file does not need the whole chunk).
  LineBuffer(platform::OutputFile& out, std::size_t longest_line, std::size_t total)
      : out_(out),
        capacity_(std::max(std::min(kChunk, total), longest_line)),
        buffer_(new char[capacity_]) {}

  char* reserve(std::size_t n) {
    if (used_ + n > capacity_) flush();
    return buffer_.get() + used_;
  }
  void commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  void flush() {
    if (used_ > 0) out_.write(std::string_view(buffer_.get(), used_));
    used_ = 0;
  }

 private:
  static constexpr std::size_t kChunk = std::size_t{1} << 20;
  platform::OutputFile& out_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace

void write_column_file(platform::OutputFile& out, const SeriesTable& series, const YearTable& years,
                       char separator, std::string_view line_end,
                       std::optional<std::string_view> missing) {
  const int n = series.series_count();
  std::string header;
  build_header_line(series, separator, header);
  header.append(line_end);

  // The longest a data line can be: a missing text may be wider than a value's field.
  const std::size_t cell_width = missing ? std::max(kValueWidth, missing->size()) : kValueWidth;
  const std::size_t line_length = data_line_length(n) +
                                  (cell_width - kValueWidth) * static_cast<std::size_t>(n) +
                                  line_end.size();
  const std::size_t rows = static_cast<std::size_t>(std::max(years.rows(), 0));
  LineBuffer lines(out, std::max(header.size(), line_length), header.size() + rows * line_length);
  char* at = lines.reserve(header.size());
  lines.commit(std::copy(header.begin(), header.end(), at));

  std::array<float, kMaxSeries> row{};
  for (int r = 1; r <= years.rows(); ++r) {
    char* line = lines.reserve(line_length);
    char* end = missing ? build_data_line_with_missing(years, r, n, separator, *missing, line)
                        : build_data_line(years, r, n, separator, row.data(), line);
    lines.commit(std::copy(line_end.begin(), line_end.end(), end));
  }
  lines.flush();
}

}  // namespace quillet::table
