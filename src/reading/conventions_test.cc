// The conventions of the data bank's files, as the series reader follows them when asked.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "reading/series_reader.h"
#include "testing/fake_console.h"

namespace quillet::reading {
namespace {

using testing::StringSource;

// A decade line: its first 10 columns as given (name and year), then 7-column slots.
std::string line(std::string_view head, std::initializer_list<std::string_view> slots = {}) {
  std::string text(head);
  text.resize(10, ' ');
  for (std::string_view slot : slots) text.append(slot);
  return text + "\n";
}

constexpr std::string_view kBlank = "       ";
constexpr std::string_view kMarker = "9990  0";

// Ten slots of the values first, first + 1, ... (in thousandths), each with count 1.
std::string ten_values(std::string_view head, int first) {
  std::string text(head);
  text.resize(10, ' ');
  for (int k = 0; k < 10; ++k) text += " " + std::to_string(first + k) + "  1";
  return text + "\n";
}

class ConventionsTest : public ::testing::Test {
 protected:
  // Reads every series of `data` (header lines per series `h`) until the end of the input
  // or a problem; the results of every call, the last one included.
  std::vector<SeriesResult> read_all(std::string data, int h, bool on = true) {
    source_ = std::make_unique<StringSource>(std::move(data));
    input_ = std::make_unique<fields::LineReader>(*source_, 8);
    table_ = std::make_unique<table::SeriesTable>();
    std::vector<SeriesResult> results;
    for (int s = 1;; ++s) {
      results.push_back(aindx(*input_, s, h, *table_, label_, {}, {.on = on}));
      if (results.back().outcome != SeriesOutcome::kSeriesRead) return results;
    }
  }
  float value(int s, int p) const { return table_->value(s, p); }

  std::unique_ptr<StringSource> source_;
  std::unique_ptr<fields::LineReader> input_;
  std::unique_ptr<table::SeriesTable> table_;
  std::string label_;
};

TEST_F(ConventionsTest, ANameSplitsSeriesWithoutHeaderLines) {
  const std::string first = line("FIRST 1955", {kBlank, kBlank, kBlank, kBlank, kBlank, " 101  1",
                                                " 102  1", " 103  1", " 104  1", " 105  1"}) +
                            ten_values("FIRST 1960", 106);
  const std::string next = line("NEXT  1973", {kBlank, kBlank, kBlank, " 201  2", kMarker});
  auto results = read_all(first + next, 0);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0].first_year, 1955);
  EXPECT_EQ(results[0].last_year, 1969);
  ASSERT_TRUE(results[0].no_end_marker.has_value());
  EXPECT_EQ(results[0].no_end_marker->line, 3);
  EXPECT_EQ(results[0].no_end_marker->name, "NEXT");
  EXPECT_EQ(results[0].no_end_marker->series, 1);
  EXPECT_EQ(results[0].no_end_marker->series_name, "FIRST");
  EXPECT_TRUE(results[0].used.split);
  EXPECT_FALSE(results[0].run_into.has_value());
  EXPECT_EQ(results[1].name, "NEXT    ");
  EXPECT_EQ(results[1].first_year, 1973);
  EXPECT_EQ(value(2, 1), 0.201f);
  EXPECT_FALSE(results[1].used.any());

  // A statistics line of the split series after its end marker is passed over too.
  results = read_all(first + next + "NEXT   409  .261  .445  .443 .97367\n" +
                         line("THIRD 1980", {" 301  1", kMarker}),
                     0);
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[2].name, "THIRD   ");
  EXPECT_TRUE(results[2].used.statistics_line);
  EXPECT_EQ(value(3, 1), 0.301f);

  // Near misses: the next series' first line in the decade after (or in types 1 and 6, or
  // after a blank line inside the series) is read into the series as the rules say.
  const std::string in_order = line("NEXT  1970", {" 201  2", kMarker});
  results = read_all(first + in_order, 0);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_FALSE(results[0].no_end_marker.has_value());
  ASSERT_TRUE(results[0].run_into.has_value());
  EXPECT_EQ(results[0].last_year, 1970);
  results = read_all("h\nh\nh\n" + first + next, 3);
  EXPECT_FALSE(results[0].no_end_marker.has_value());
  EXPECT_TRUE(results[0].run_into.has_value());
  results = read_all(first + "\n" + next, 0);
  EXPECT_FALSE(results[0].no_end_marker.has_value());
  EXPECT_EQ(results[0].last_year, 1983);  // 15 values, 10 blank ones, 4 of NEXT's line
}

TEST_F(ConventionsTest, TheEndOfTheInputEndsASeriesInDecadeOrder) {
  const std::string series = line("xxxstd1995", {kBlank, kBlank, kBlank, kBlank, kBlank, " 727  1",
                                                 " 728  1", " 729  1", " 730  1", " 731  1"}) +
                             ten_values("xxxstd2000", 800);
  // Trailing blank lines are not part of it; the next call meets the end of the input.
  auto results = read_all(series + "\n  \t\n", 0);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].outcome, SeriesOutcome::kSeriesRead);
  EXPECT_TRUE(results[0].unfinished);
  EXPECT_TRUE(results[0].used.unfinished);
  EXPECT_EQ(results[0].first_year, 1995);
  EXPECT_EQ(results[0].last_year, 2009);
  EXPECT_EQ(table_->length(1), 15);
  EXPECT_EQ(value(1, 15), 0.809f);
  EXPECT_EQ(results[1].outcome, SeriesOutcome::kEndOfInput);
  EXPECT_FALSE(results[1].cut_off_content);
  // The rules leave it unconverted.
  results = read_all(series, 0, false);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_TRUE(results[0].cut_off_content);

  // With header lines per series, behind a series with its end marker.
  const std::string whole = "h1\nh2\nh3\n" + line("FULL  1990", {" 100  1", kMarker});
  results = read_all(whole + "h1\nh2\nh3\n" + series, 3);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_TRUE(results[1].unfinished);
  EXPECT_EQ(results[1].last_year, 2009);

  // Near misses: cut off in its header lines, a decade left out, a blank line inside.
  for (const std::string& cut :
       {whole + "h1\nh2\n",
        whole + "h1\nh2\nh3\n" + ten_values("CUT   1900", 100) + ten_values("CUT   1920", 100),
        whole + "h1\nh2\nh3\n" + ten_values("CUT   1900", 100) + "\n" +
            ten_values("CUT   1920", 100)}) {
    results = read_all(cut, 3);
    ASSERT_EQ(results.size(), 2u) << cut;
    EXPECT_EQ(results[1].outcome, SeriesOutcome::kEndOfInput) << cut;
    EXPECT_TRUE(results[1].cut_off_content) << cut;
  }
}

TEST_F(ConventionsTest, LongYearsStandInColumnsSixToTen) {
  const std::string first_line =
      line("99551-1003", {kMarker, kMarker, kMarker, kMarker, kMarker, kMarker, kMarker, " 101  1",
                          " 102  1", " 103  1"});
  const std::string body = first_line + ten_values("99551-1000", 110);
  auto results = read_all(body + line("99551 -990", {" 120  1", kMarker}), 0);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].name, "99551   ");
  EXPECT_EQ(results[0].first_year, -1003);
  EXPECT_EQ(results[0].last_year, -990);
  EXPECT_TRUE(results[0].used.long_years);
  EXPECT_FALSE(results[0].run_into.has_value());
  EXPECT_EQ(value(1, 1), 0.101f);
  EXPECT_EQ(value(1, 4), 0.110f);
  EXPECT_EQ(value(1, 14), 0.120f);
  // The rules read year 1003, whose first slot holds the end marker.
  results = read_all(body, 0, false);
  EXPECT_EQ(results[0].first_year, 1003);
  EXPECT_EQ(results[0].last_year, 1002);

  // With its end marker missing, behind three header lines.
  results = read_all("h\nh\nh\n" + body + ten_values("99551 -990", 120) + "\n", 3);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_TRUE(results[0].used.long_years);
  EXPECT_TRUE(results[0].unfinished);
  EXPECT_EQ(results[0].first_year, -1003);
  EXPECT_EQ(results[0].last_year, -981);

  // Near misses: a name that ends in '-' (its next line is not the decade after a long
  // year), and a long year alone on a line with its end marker.
  results = read_all(line("ABCDE-1903", {kBlank, kBlank, kBlank, " 100  1"}) +
                         line("ABCDE-1910", {" 200  1", kMarker}),
                     0);
  EXPECT_EQ(results[0].name, "ABCDE-  ");
  EXPECT_EQ(results[0].first_year, 1903);
  EXPECT_EQ(results[0].last_year, 1910);
  EXPECT_FALSE(results[0].used.long_years);
  results = read_all(line("ABCDE-1900", {" 100  1", kMarker}) + line("ABCDE-1890", {kMarker}), 0);
  EXPECT_EQ(results[0].first_year, 1900);
  EXPECT_EQ(results[1].first_year, 1890);
}

TEST_F(ConventionsTest, BlankAndStatisticsLinesBetweenSeries) {
  const std::string one = line("ONE   1900", {" 100  1", kMarker});
  const std::string two = line("TWO   1900", {" 200  1", kMarker});
  const auto statistics_of = [](std::string_view name) {
    std::string text(name);
    text.resize(6, ' ');
    return text + "   2  .261  .445 .9736\n";
  };
  const std::string statistics = statistics_of("ONE");
  // Without header lines per series: always, in any order.
  auto results = read_all(one + "\n" + statistics + " \t \n" + two, 0);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[1].name, "TWO     ");
  EXPECT_TRUE(results[1].used.blank_lines);
  EXPECT_TRUE(results[1].used.statistics_line);
  EXPECT_EQ(value(2, 1), 0.2f);

  // With three header lines: where the rules' first line would not read as data.
  const std::string headers = "title one\ntitle two\ntitle three\n";
  results = read_all(headers + one + "\n" + statistics + headers + two + statistics_of("TWO"), 3);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[1].name, "TWO     ");
  EXPECT_EQ(results[1].header_lines,
            (std::vector<std::string>{"title one", "title two", "title three"}));
  EXPECT_TRUE(results[1].used.blank_lines);
  EXPECT_TRUE(results[1].used.statistics_line);
  // At the end of the input: the statistics line of the last series is no series.
  EXPECT_EQ(results[2].outcome, SeriesOutcome::kEndOfInput);
  EXPECT_FALSE(results[2].cut_off_content);
  EXPECT_TRUE(results[2].used.statistics_line);
  EXPECT_EQ(read_all(headers + one + "\n" + headers + two, 3, false)[1].outcome,
            SeriesOutcome::kReadError);

  // Near misses. An empty header line: the rules' first line reads as data.
  results = read_all(headers + one + "\ntitle two\ntitle three\n" + two, 3);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[1].name, "TWO     ");
  EXPECT_FALSE(results[1].used.any());
  // A line with decimal points inside a series is a line of data.
  results = read_all(line("ONE   1900", {"  .5  1", " 1.0  2"}) +
                         line("ONE      2", {".261  1", ".445  1"}) + line("ONE   1920", {kMarker}),
                     0);
  ASSERT_EQ(results[0].outcome, SeriesOutcome::kSeriesRead);
  EXPECT_EQ(results[0].last_year, 1919);
  EXPECT_EQ(value(1, 1), 0.5f);
  EXPECT_EQ(value(1, 11), 0.261f);
  // At the top of the file, and a statistics line of another series, the rules hold.
  EXPECT_EQ(read_all("\n" + one, 0)[0].name, "        ");
  results = read_all(one + statistics_of("TWO") + two, 0);
  EXPECT_EQ(results[1].name, "TWO     ");
  EXPECT_FALSE(results[1].used.any());
}

}  // namespace
}  // namespace quillet::reading
