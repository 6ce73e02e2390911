#include "table/column_writer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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

TEST(ColumnWriter, YearsTooWideAreWrittenAsWideAsNeededOnlyWhenAsked) {
  SeriesTable table;
  table.set_series(1, "99551", -1001);
  for (int p = 1; p <= 3; ++p) table.set(1, p, 0.5f * static_cast<float>(p), p);
  table.set_length(1, 3);
  table.set_series_count(1);
  const YearTable years(table, find_year_range(table));  // -1001 to 0
  const auto lines = [&](std::optional<std::string_view> missing, bool wide) {
    StringOutput out;
    write_column_file(out, table, years, '\t', "\n", missing, wide);
    EXPECT_TRUE(out.content.ends_with("\n  -1\t   0\t" + std::string(missing.value_or(" 0.000")) +
                                      "\n   0\t   0\t" + std::string(missing.value_or(" 0.000")) +
                                      "\n"));
    return out.content.substr(0, out.content.find("-998"));
  };
  EXPECT_EQ(lines(std::nullopt, false),
            " Year\tN\t99551   \n"
            "****\t   1\t 0.500\n"
            "****\t   2\t 1.000\n"
            "-999\t   3\t 1.500\n");
  EXPECT_EQ(lines(std::nullopt, true),
            " Year\tN\t99551   \n"
            "-1001\t   1\t 0.500\n"
            "-1000\t   2\t 1.000\n"
            "-999\t   3\t 1.500\n");
  EXPECT_EQ(lines("NA", true),
            " Year\tN\t99551   \n"
            "-1001\t   1\t 0.500\n"
            "-1000\t   2\t 1.000\n"
            "-999\t   3\t 1.500\n");
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

// The block writer (the cells series by series from the table's stores) against the lines
// built cell by cell through the field rules, over random tables: first years apart or
// together, lengths from 0, thousandths and general values, as many series as the table holds.
TEST(ColumnWriter, BlocksAreTheLinesCellByCell) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 40; ++trial) {
    SeriesTable table;
    const int n = trial == 0 ? kMaxSeries : 1 + static_cast<int>(random() % 40);
    for (int s = 1; s <= n; ++s) {
      const auto first_year =
          static_cast<std::int32_t>(trial % 2 == 0 ? 1500 : 1500 + static_cast<int>(random() % 40));
      const int length = static_cast<int>(random() % 45);
      const bool general = random() % 3 == 0;
      table.set_series(s, "S", first_year);
      for (int p = 1; p <= length; ++p) {
        if (general) {
          table.set(s, p, static_cast<float>(static_cast<int>(random() % 200000) - 50000) / 997.0f,
                    1);
        } else {
          const auto thousandths = static_cast<std::uint16_t>(random() % 10000);
          const std::int32_t count = 1;
          table.set_thousandths(s, p, &thousandths, &count, 1);
        }
      }
      table.set_length(s, length);
    }
    table.set_series_count(n);
    const YearTable years(table, find_year_range(table));
    const std::size_t line_length = data_line_length(n) + 2;
    for (int r = 1; r <= years.rows(); r += 7) {
      const int rows = std::min(7, years.rows() - r + 1);
      std::string block(line_length * static_cast<std::size_t>(rows), '?');
      write_block(years, r, rows, '\t', "\r\n", block.data());
      std::string expected;
      for (int k = 0; k < rows; ++k) {
        std::string line(line_length, '?');
        char* end = build_data_line(years, r + k, n, '\t', std::nullopt, line.data());
        line.resize(static_cast<std::size_t>(end - line.data()));
        expected += line + "\r\n";
      }
      ASSERT_EQ(block, expected) << "trial " << trial << ", rows from " << r;
    }
  }
}

}  // namespace
}  // namespace quillet::table
