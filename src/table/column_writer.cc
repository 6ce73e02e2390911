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

// Gathers whole lines into large writes. Lines are built in place, so each byte of the
// column file is written once here and copied once more, by the system.
class LineBuffer {
 public:
  LineBuffer(platform::OutputFile& out, std::size_t longest_line)
      : out_(out), capacity_(std::max(kChunk, longest_line)), buffer_(new char[capacity_]) {}

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
                       char separator, std::string_view line_end) {
  const int n = series.series_count();
  std::string header;
  build_header_line(series, separator, header);
  header.append(line_end);

  const std::size_t line_length = data_line_length(n) + line_end.size();
  LineBuffer lines(out, std::max(header.size(), line_length));
  char* at = lines.reserve(header.size());
  lines.commit(std::copy(header.begin(), header.end(), at));

  std::array<float, kMaxSeries> row{};
  for (int r = 1; r <= years.rows(); ++r) {
    char* end = build_data_line(years, r, n, separator, row.data(), lines.reserve(line_length));
    lines.commit(std::copy(line_end.begin(), line_end.end(), end));
  }
  lines.flush();
}

}  // namespace quillet::table
