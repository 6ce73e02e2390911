#include "table/column_writer.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "fields/field_writer.h"

namespace quillet::table {

namespace {
constexpr std::size_t kYearWidth = 4;
constexpr std::size_t kNWidth = 4;
constexpr std::size_t kValueWidth = 6;
constexpr int kValueDecimals = 3;
constexpr std::size_t kFirstCell = kYearWidth + 1 + kNWidth + 1;  // behind year, TAB, N, TAB
// Rows written in one block: each series' places for them lie in one or two cache lines.
constexpr int kBlockRows = 32;

bool fits_year_field(std::int32_t year) { return year >= -999 && year <= 9999; }
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

char* build_data_line(const YearTable& years, int r, int series_count, char separator,
                      std::optional<std::string_view> missing, char* out, bool wide_years) {
  const std::int32_t year = years.year(r);
  if (wide_years && !fits_year_field(year)) {
    out = std::to_chars(out, out + kYearWidth + kWideYearExtra, year).ptr;
  } else {
    out = fields::write_integer(out, year, kYearWidth);
  }
  *out++ = separator;
  out = fields::write_integer(out, years.n(r), kNWidth);
  for (int i = 1; i <= series_count; ++i) {
    *out++ = separator;
    if (missing && !years.within_series(i, r)) {
      out = std::copy(missing->begin(), missing->end(), out);
    } else {
      out = fields::write_decimal(out, years.cell(i, r), kValueWidth, kValueDecimals);
    }
  }
  return out;
}

void write_block(const YearTable& years, int first_row, int rows, char separator,
                 std::string_view line_end, char* block) {
  const SeriesTable& series = years.series();
  const int n = series.series_count();
  const std::size_t line_length = data_line_length(n) + line_end.size();
  // The year and N of each line, then the cells series by series, each with the separator in
  // front of it: a series' places for the block's rows lie together in the table.
  for (int k = 0; k < rows; ++k) {
    char* line = block + static_cast<std::size_t>(k) * line_length;
    char* at = fields::write_integer(line, years.year(first_row + k), kYearWidth);
    *at++ = separator;
    fields::write_integer(at, years.n(first_row + k), kNWidth);
    std::copy(line_end.begin(), line_end.end(), line + line_length - line_end.size());
  }
  // Each series' places for the block lie elsewhere in memory: asked for a few series ahead,
  // they are at hand when their turn comes.
  constexpr int kAhead = 16;
  const auto ask_ahead = [&](int j) {
    if (j > n || series.general(j) || series.length(j) == 0) return;
    const int place = std::clamp(first_row - years.offset(j), 1, series.length(j));
#if defined(__GNUC__)
    const std::uint16_t* at = series.thousandths_of(j) + (place - 1);
    __builtin_prefetch(at);
    __builtin_prefetch(at + std::min(kBlockRows, series.length(j) - place));
#else
    (void)place;
#endif
  };
  for (int j = 1; j <= std::min(kAhead, n); ++j) ask_ahead(j);
  for (int i = 1; i <= n; ++i) {
    ask_ahead(i + kAhead);
    char* cell = block + kFirstCell + (1 + kValueWidth) * static_cast<std::size_t>(i - 1);
    // Rows k of the block with a place of the series: first_row + k - offset in 1..length.
    const int first_place = first_row - years.offset(i);
    const int from = std::clamp(1 - first_place, 0, rows);
    const int to = std::clamp(series.length(i) - first_place + 1, from, rows);
    int k = 0;
    for (; k < from; ++k, cell += line_length) {
      cell[-1] = separator;
      fields::write_thousandths(cell, 0);
    }
    if (series.general(i)) {
      const float* values = series.values_of(i) + (first_place - 1);
      for (; k < to; ++k, cell += line_length) {
        cell[-1] = separator;
        fields::write_decimal(cell, values[k], kValueWidth, kValueDecimals);
      }
    } else {
      const std::uint16_t* thousandths = series.thousandths_of(i) + (first_place - 1);
      for (; k < to; ++k, cell += line_length) {
        cell[-1] = separator;
        fields::write_thousandths(cell, thousandths[k]);
      }
    }
    for (; k < rows; ++k, cell += line_length) {
      cell[-1] = separator;
      fields::write_thousandths(cell, 0);
    }
  }
}

namespace {

// Gathers whole lines into large writes. Lines are built in place, so each byte of the
// column file is written once here and copied once more, by the system.
class LineBuffer {
 public:
  // `longest`: the most that one reserve() asks for; `total`: all that will be written (a
  // small file does not need the whole chunk).
  LineBuffer(platform::OutputFile& out, std::size_t longest, std::size_t total)
      : out_(out),
        capacity_(std::max(std::min(kChunk, total), longest)),
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
                       std::optional<std::string_view> missing, bool wide_years) {
  const int n = series.series_count();
  std::string header;
  build_header_line(series, separator, header);
  header.append(line_end);

  // The longest a data line can be: a missing text may be wider than a value's field.
  const std::size_t cell_width = missing ? std::max(kValueWidth, missing->size()) : kValueWidth;
  // Years as wide as needed only where some year does not fit its 4 columns.
  const bool wide = wide_years && years.rows() > 0 &&
                    (!fits_year_field(years.year(1)) || !fits_year_field(years.year(years.rows())));
  const std::size_t line_length = data_line_length(n) +
                                  (cell_width - kValueWidth) * static_cast<std::size_t>(n) +
                                  (wide ? kWideYearExtra : 0) + line_end.size();
  const std::size_t rows = static_cast<std::size_t>(std::max(years.rows(), 0));
  const std::size_t block = std::min<std::size_t>(kBlockRows, std::max<std::size_t>(rows, 1));
  LineBuffer lines(out, std::max(header.size(), line_length * block),
                   header.size() + rows * line_length);
  char* at = lines.reserve(header.size());
  lines.commit(std::copy(header.begin(), header.end(), at));

  if (missing || wide) {
    // Lines of their own lengths, one by one.
    for (int r = 1; r <= years.rows(); ++r) {
      char* end =
          build_data_line(years, r, n, separator, missing, lines.reserve(line_length), wide);
      lines.commit(std::copy(line_end.begin(), line_end.end(), end));
    }
  } else {
    for (int r = 1; r <= years.rows(); r += kBlockRows) {
      const int count = std::min(kBlockRows, years.rows() - r + 1);
      char* start = lines.reserve(line_length * static_cast<std::size_t>(count));
      write_block(years, r, count, separator, line_end, start);
      lines.commit(start + line_length * static_cast<std::size_t>(count));
    }
  }
  lines.flush();
}

}  // namespace quillet::table
