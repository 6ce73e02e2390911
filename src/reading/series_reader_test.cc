#include "reading/series_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/fake_console.h"

namespace quillet::reading {
namespace {

using testing::StringSource;

// A decade line: name (6), year (4), up to ten slots of value (4) and count (3), label.
std::string decade_line(std::string_view name, std::string_view year,
                        std::initializer_list<std::string_view> slots,
                        std::string_view label = "") {
  std::string line(name);
  line.resize(6, ' ');
  line.append(year);
  line.resize(10, ' ');
  for (std::string_view slot : slots) line.append(slot);
  if (!label.empty()) {
    line.resize(80, ' ');
    line.append(label);
  }
  return line + "\n";
}

class SeriesReaderTest : public ::testing::Test {
 protected:
  void load(std::string data) {
    source_ = std::make_unique<StringSource>(std::move(data));
    input_ = std::make_unique<fields::LineReader>(*source_, 8);
  }
  SeriesResult read(int s, int header_lines = 0) {
    return aindx(*input_, s, header_lines, table_, label_);
  }

  std::unique_ptr<StringSource> source_;
  std::unique_ptr<fields::LineReader> input_;
  table::SeriesTable table_;
  std::string label_;
};

TEST_F(SeriesReaderTest, TheFirstValueStandsInTheSlotOfItsYear) {
  // The first slot read holds 1.234 with count 5; every other slot a different value.
  const struct {
    const char* year;
    int first_slot;  // 1-based slot of the first value
  } cases[] = {{"1650", 1},  {"1653", 4}, {"1659", 10}, {"   0", 1},
               {"  -1", 10}, {" -15", 6}, {" -20", 1},  {"-999", 2}};
  for (const auto& c : cases) {
    std::string line = "SITE01";
    line += c.year;
    for (int k = 1; k <= 10; ++k) line += k == c.first_slot ? "1234  5" : " 777 99";
    load(line + "\n" + decade_line("SITE01", "", {"  11  1", "9990  0"}));
    ASSERT_EQ(read(1).outcome, SeriesOutcome::kSeriesRead) << c.year;
    EXPECT_EQ(table_.first_year(1), std::stoi(c.year)) << c.year;
    EXPECT_EQ(table_.value(1, 1), 1.234f) << c.year;
    EXPECT_EQ(table_.first_series_count(1), 5) << c.year;
    const int length = 10 - c.first_slot + 1 + 1;
    EXPECT_EQ(table_.length(1), length) << c.year;
    EXPECT_EQ(table_.value(1, length), 0.011f) << c.year;
    table_ = table::SeriesTable();
  }
}

TEST_F(SeriesReaderTest, EndMarkerIsNineNinetyNineWithCountZeroOnly) {
  load(decade_line("AB", "1990",
                   {"9990  1", "   0  0", "       ", "12 3  2", "99909  ", "9990  0", "bad!bad"}) +
       decade_line("NEXT", "2000", {"9990   "}));
  // The slot after the end marker is never looked at; it is still read as part of the line
  // only when it is a number, so the line above would fail: check that first.
  EXPECT_EQ(read(1).outcome, SeriesOutcome::kReadError);

  load(decade_line("AB", "1990",
                   {"9990  1", "   0  0", "       ", "12 3  2", "99909  ", "9990  0", "  55  5"},
                   "LABEL123") +
       decade_line("NEXT", "2000", {"9990   "}));
  const SeriesResult first = read(1);
  ASSERT_EQ(first.outcome, SeriesOutcome::kSeriesRead);
  EXPECT_EQ(first.name, "AB      ");
  EXPECT_EQ(first.first_year, 1990);
  EXPECT_EQ(first.last_year, 1994);
  EXPECT_EQ(first.label, "LABEL123");
  EXPECT_EQ(table_.length(1), 5);
  EXPECT_EQ(table_.value(1, 1), 9.99f);
  EXPECT_EQ(table_.first_series_count(1), 1);
  EXPECT_EQ(table_.value(1, 2), 0.0f);
  EXPECT_EQ(table_.value(1, 3), 0.0f);
  EXPECT_EQ(table_.value(1, 4), 0.123f);
  EXPECT_EQ(table_.value(1, 5), 9.99f);  // "99909  ": 9.99 with the count 9
  EXPECT_EQ(table_.first_series_count(5), 9);
  EXPECT_EQ(table_.value(1, 6), 0.0f);  // nothing behind the marker is stored
  EXPECT_EQ(label_, "LABEL123");
  // The next call begins with the line after the marker: a series of length 0.
  ASSERT_EQ(read(2).outcome, SeriesOutcome::kSeriesRead);
  EXPECT_EQ(table_.length(2), 0);
  EXPECT_EQ(table_.name(2), "NEXT    ");
  EXPECT_EQ(label_, "        ");
  EXPECT_EQ(read(3).outcome, SeriesOutcome::kEndOfInput);
}

TEST_F(SeriesReaderTest, ShortLinesReadAsBlankSlots) {
  load(decade_line("SHORT", "1900", {" 100  1", " 200  2"}) + decade_line("", "", {" 300  3"}) +
       decade_line("", "", {"9990  0"}));
  ASSERT_EQ(read(1).outcome, SeriesOutcome::kSeriesRead);
  // Line 1: 2 values and 8 blank slots; line 2: 1 value and 9 blank slots.
  EXPECT_EQ(table_.length(1), 20);
  EXPECT_EQ(table_.value(1, 2), 0.2f);
  EXPECT_EQ(table_.value(1, 3), 0.0f);
  EXPECT_EQ(table_.value(1, 11), 0.3f);
  EXPECT_EQ(table_.first_series_count(11), 3);
}

TEST_F(SeriesReaderTest, HeaderLinesArePassedOverWhateverTheyHold) {
  load("header one 1,2,x\n\nheader three\n" + decade_line("CRN", "1900", {" 500  1", "9990  0"}) +
       "h\nh\nh\n");
  ASSERT_EQ(read(1, 3).outcome, SeriesOutcome::kSeriesRead);
  EXPECT_EQ(table_.length(1), 1);
  // The next call ends on a header line; the warning flag sees the content of what was read.
  const SeriesResult end = read(2, 3);
  EXPECT_EQ(end.outcome, SeriesOutcome::kEndOfInput);
  EXPECT_TRUE(end.cut_off_content);
}

TEST_F(SeriesReaderTest, EndOfInputInsideASeries) {
  load(decade_line("CUT", "1901", {" 500  1", " 600  1"}));
  SeriesResult result = read(1);
  EXPECT_EQ(result.outcome, SeriesOutcome::kEndOfInput);
  EXPECT_TRUE(result.cut_off_content);

  // Trailing empty lines: read as a first line and data lines, all blank, and no warning.
  load("\n\n  \t\n");
  result = read(1);
  EXPECT_EQ(result.outcome, SeriesOutcome::kEndOfInput);
  EXPECT_FALSE(result.cut_off_content);
}

TEST_F(SeriesReaderTest, ReadErrorsSayWhereTheyStand) {
  const struct {
    std::string data;
    std::int64_t line;
    std::size_t first, last;
    const char* text;
  } cases[] = {
      {decade_line("X", "19a0", {"9990  0"}), 1, 7, 10, "19a0"},  // the year
      {"AB0001190012341 1 2x4  2\n", 1, 18, 21, " 2x4"},          // a value
      {"AB0001190012341 1 2x", 1, 18, 20, " 2x"},                 // cut off by the line's end
      // a count behind a comma that ended its value early, on a continuation line
      {decade_line("X", "1900", {" 100  1"}) + decade_line("X", "1910", {"1,x5 "}), 2, 13, 15,
       "x5 "},
  };
  for (const auto& c : cases) {
    load(c.data);
    const SeriesResult result = read(1);
    ASSERT_EQ(result.outcome, SeriesOutcome::kReadError) << c.data;
    EXPECT_EQ(result.error.line, c.line) << c.data;
    EXPECT_EQ(result.error.first_column, c.first) << c.data;
    EXPECT_EQ(result.error.last_column, c.last) << c.data;
    EXPECT_EQ(result.error.text, c.text) << c.data;
  }
  // Header lines count, and the first line read twice keeps its number.
  load("h1\nh2\nh3\n" + decade_line("X", "1900", {" 1x0  1"}));
  EXPECT_EQ(read(1, 3).error.line, 4);
}

TEST_F(SeriesReaderTest, HeaderLinesThatHoldDataAreFound) {
  const std::string data = decade_line("KR571", "1650", {"1044  1", "9990  0"});
  // As the first of three header lines (a file without header lines read as CRONOL).
  load(data + data + data + data);
  SeriesResult result = read(1, 3);
  ASSERT_TRUE(result.header_data.has_value());
  EXPECT_EQ(result.header_data->line, 1);
  EXPECT_EQ(result.header_data->name, "KR571");
  // Words are never data, and a Watch that has seen one looks no more.
  load("KR571 1650 Douglas-fir 1990-2008\n\nx\n" + data);
  EXPECT_FALSE(read(1, 3).header_data.has_value());
  load(data + data);
  result = aindx(*input_, 1, 1, table_, label_, {.header_data = false});
  EXPECT_FALSE(result.header_data.has_value());
}

TEST_F(SeriesReaderTest, ASeriesRunIntoTheNextIsFound) {
  const std::string next_series = decade_line("NEXT", "1960", {" 300  1", "9990  0"});
  // The first series lacks its end marker: the next one's first line is read into it.
  load(decade_line("FIRST", "1950", {" 100  1"}) + decade_line("FIRST", "1960", {" 200  1"}) +
       next_series);
  SeriesResult result = read(1);
  ASSERT_EQ(result.outcome, SeriesOutcome::kSeriesRead);
  ASSERT_TRUE(result.run_into.has_value());
  EXPECT_EQ(result.run_into->line, 3);
  EXPECT_EQ(result.run_into->name, "NEXT");
  EXPECT_EQ(result.run_into->series, 1);
  EXPECT_EQ(result.run_into->series_name, "FIRST");
  // Continuation lines with blank name columns, or the series' own name, say nothing.
  load(decade_line("FIRST", "1950", {" 100  1"}) + decade_line("", "", {" 200  1"}) +
       decade_line("FIRST", "1970", {"9990  0"}));
  EXPECT_FALSE(read(1).run_into.has_value());
}

TEST_F(SeriesReaderTest, LimitsOfTheTable) {
  std::string long_series = decade_line("LONG", "1000", {});
  long_series.pop_back();
  long_series += std::string(70, ' ') + "\n";  // 10 blank values
  for (int line = 1; line < 800; ++line) long_series += std::string(80, ' ') + "\n";
  // 8000 values so far; an end marker now gives a full series.
  load(long_series + decade_line("", "", {"9990  0"}));
  ASSERT_EQ(read(1).outcome, SeriesOutcome::kSeriesRead);
  EXPECT_EQ(table_.length(1), 8000);
  load(long_series + decade_line("", "", {" 100  1", "9990  0"}));
  EXPECT_EQ(read(2).outcome, SeriesOutcome::kSeriesTooLong);
  // Past 8000 values the series is read on: cut off by the end of the input it is not
  // counted (with the warning when it held anything), whatever its length.
  load(long_series + decade_line("", "", {" 100  1", " 100  1"}));
  SeriesResult cut_off = read(2);
  EXPECT_EQ(cut_off.outcome, SeriesOutcome::kEndOfInput);
  EXPECT_TRUE(cut_off.cut_off_content);
  load("\n" + std::string(900, '\n'));  // trailing empty lines of an INDEX file
  cut_off = read(3);
  EXPECT_EQ(cut_off.outcome, SeriesOutcome::kEndOfInput);
  EXPECT_FALSE(cut_off.cut_off_content);

  // Series 1501 is read but not stored: complete, it is one too many; cut off, it is nothing.
  load(decade_line("MORE", "1900", {" 100  1", "9990  0"}));
  EXPECT_EQ(read(1501).outcome, SeriesOutcome::kTooManySeries);
  load(decade_line("MORE", "1900", {" 100  1"}));
  EXPECT_EQ(read(1501).outcome, SeriesOutcome::kEndOfInput);
}

}  // namespace
}  // namespace quillet::reading
