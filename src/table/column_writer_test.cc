#include "table/column_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet::table {
namespace {

class StringOutput : public platform::OutputFile {
 public:
  void write(std::string_view bytes) override { content.append(bytes); }
  void finish() override {}
  void abandon() noexcept override {}
  std::string content;
};

TEST(ColumnWriter, HeaderAndDataLinesWithoutTrailingSeparators) {
  SeriesTable table;
  table.set_series(1, "RING01", 1901);
  table.set(1, 1, 1.5f, 7);
  table.set(1, 2, 123.456f, 8);
  table.set(1, 3, -0.0004f, 9);
  table.set_length(1, 3);
  table.set_series(2, "X", 1902);
  table.set(2, 1, 0.0625f, 1);
  table.set_length(2, 1);
  table.set_series_count(2);
  const YearTable years(table, find_year_range(table));

  StringOutput out;
  write_column_file(out, table, years, '\t', "\r\n");
  EXPECT_EQ(out.content,
            " Year\tN\tRING01  \tX       \r\n"
            "1901\t   7\t 1.500\t 0.000\r\n"
            "1902\t   8\t******\t 0.063\r\n"
            "1903\t   9\t 0.000\t 0.000\r\n");
}

TEST(ColumnWriter, NoSeriesGivesTheHeaderLineOnly) {
  SeriesTable table;
  const YearTable years(table, find_year_range(table));
  StringOutput out;
  write_column_file(out, table, years, '\t', "\n");
  EXPECT_EQ(out.content, " Year\tN\n");
}

TEST(ColumnWriter, FullWidthLinesAreWrittenWhole) {
  SeriesTable table;
  for (int s = 1; s <= kMaxSeries; ++s) {
    table.set_series(s, "ABCDEF", 10000);
    table.set(s, 1, -9.999f, 1);
    table.set_length(s, 1);
  }
  table.set_series_count(kMaxSeries);
  const YearTable years(table, find_year_range(table));
  StringOutput out;
  write_column_file(out, table, years, '\t', "\n");
  const std::size_t header_end = out.content.find('\n');
  EXPECT_EQ(header_end, 13507u);
  // minyr is 8000, so 2000 rows of zeros come before the row of year 10000 ("****").
  ASSERT_EQ(years.rows(), 2001);
  const std::size_t last_start = out.content.rfind('\n', out.content.size() - 2) + 1;
  const std::string last = out.content.substr(last_start);
  EXPECT_EQ(last.size(), 10509u + 1);
  EXPECT_EQ(last.substr(0, 17), "****\t   1\t-9.999\t");
  EXPECT_EQ(last.back(), '\n');
  EXPECT_NE(last[last.size() - 2], '\t');
}

}  // namespace
}  // namespace quillet::table
