#include "core/conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/decade_lines.h"
#include "testing/fake_console.h"
#include "testing/memory_files.h"

namespace quillet::core {
namespace {

// Writes down what the reading meets, one line each, in the order met.
class Record : public ReadEvents {
 public:
  void series_read(int s, const reading::SeriesResult& series) override {
    lines += "series " + std::to_string(s) + " " + series.name + "\n";
  }
  void header_line_data(const reading::HeaderLineData& data) override {
    lines += "header line " + std::to_string(data.line) + " holds " + data.name + "\n";
  }
  void run_into(const reading::RunInto& run_into) override {
    lines += "line " + std::to_string(run_into.line) + " " + run_into.name + " runs into " +
             std::to_string(run_into.series) + " " + run_into.series_name + "\n";
  }
  void cut_off(int s) override { lines += "cut off " + std::to_string(s) + "\n"; }
  std::string lines;
};

std::string series(std::string_view name, long first_year, long length) {
  std::string out;
  testing::append_series(out, name, first_year, length, [](long v) {
    return testing::Slot{1000 + v, 1};
  });
  return out;
}

class ConversionTest : public ::testing::Test {
 protected:
  ReadOutcome read(const std::string& data, int type, bool stop_at_header_data = false) {
    testing::StringSource source(data);
    fields::LineReader input(source, 8, fields::LineEnds::kFileDecides);
    record_ = Record();
    return conversion_.read(input, file_type(type), record_, stop_at_header_data);
  }
  Conversion conversion_;  // one for every reading, as the command line uses it
  Record record_;
};

const std::string kHeaderLines = "Site Oak Valley\nLat 46.5 Long 9.2 Oak\nStandard chronology\n";

TEST_F(ConversionTest, HeaderLinesThatHoldDataAreReportedOnce) {
  // 40 values from 1652 on five lines, then a series of one line.
  const std::string two = series("AZ571", 1652, 40) + series("AZ572", 1700, 5);
  const struct {
    std::string data;
    int type;
    const char* record;
  } cases[] = {
      // no header lines, read as CRONOL: the first three lines are passed over, the second
      // series' line too, and the input ends in the header lines of a third
      {two, 1, "header line 1 holds AZ571\nseries 1 AZ571   \ncut off 2\n"},
      {two, 2, "header line 1 holds AZ571\nseries 1 AZ571   \nseries 2 AZ572   \n"},
      {two, 0, "series 1 AZ571   \nseries 2 AZ572   \n"},
      // one header line per series, read as CRONOL: the second of three is data
      {"XXX one line\n" + series("XXX", 1760, 30), 1,
       "header line 2 holds XXX\nseries 1 XXX     \n"},
      {"XXX one line\n" + series("XXX", 1760, 30), 6, "series 1 XXX     \n"},
      // header lines with words are never data
      {kHeaderLines + series("RING01", 1850, 30), 1, "series 1 RING01  \n"},
      // an INDEX file of three series read as CRONOL: the second series is passed over
      {kHeaderLines + series("S1", 1900, 5) + series("S2", 1900, 25) + series("S3", 1900, 5), 1,
       "series 1 S1      \nheader line 5 holds S2\nseries 2 S3      \n"},
  };
  for (const auto& c : cases) {
    read(c.data, c.type);
    EXPECT_EQ(record_.lines, c.record) << "type " << c.type << "\n" << c.data;
  }
}

TEST_F(ConversionTest, ATrialStopsAtAHeaderLineThatHoldsData) {
  const ReadOutcome outcome = read(series("AZ571", 1652, 25), 6, true);
  EXPECT_EQ(outcome.end, ReadEnd::kHeaderLineData);
  ASSERT_TRUE(outcome.header_data.has_value());
  EXPECT_EQ(outcome.header_data->line, 1);
  EXPECT_EQ(record_.lines, "");
}

TEST_F(ConversionTest, EndsOfAReading) {
  EXPECT_EQ(read("", 1).end, ReadEnd::kEndOfInput);
  EXPECT_EQ(read("", 1).series_count, 0);
  EXPECT_EQ(read("one\ntwo\n", 2).end, ReadEnd::kFileHeaderCut);
  // Ring widths: six-column values, no end marker a decade line knows.
  const ReadOutcome widths = read("ABC01 1850   123   234   345\nABC01 1853   999\n", 0);
  EXPECT_EQ(widths.end, ReadEnd::kEndOfInput);
  EXPECT_EQ(widths.series_count, 0);
  EXPECT_TRUE(widths.cut_off);
  EXPECT_EQ(record_.lines, "cut off 1\n");
  const ReadOutcome error = read(series("OK", 1900, 3) + "BAD   1900 1x00  1\n", 0);
  EXPECT_EQ(error.end, ReadEnd::kReadError);
  EXPECT_EQ(error.series_count, 1);
  EXPECT_EQ(error.error.line, 2);
}

TEST_F(ConversionTest, ATableReadAgainHoldsOnlyTheNewSeries) {
  // A long series first, then a shorter one in the same table: the places beyond the short
  // series must read 0 again, or the column file would show the old values.
  read(series("LONG", 1900, 300) + series("LONG2", 1800, 300), 0);
  read(series("SHORT", 1900, 2) + "CUT   1900 1234  1\n", 0);
  testing::MemoryFileSystem files;
  auto out = files.open_output("short_COL");
  const table::YearRange range = conversion_.year_range();
  EXPECT_EQ(range.maxage, 2);
  conversion_.write(*out, range, "\n");
  out->finish();
  EXPECT_EQ(files.read("short_COL"),
            " Year\tN\tSHORT   \n"
            "1900\t   1\t 1.000\n"
            "1901\t   1\t 1.001\n");
  // The cells outside each series' years, with a text for missing values.
  read(series("A", 1900, 2) + series("B", 1901, 2), 0);
  out = files.open_output("ab_COL");
  conversion_.write(*out, conversion_.year_range(), "\n", "NA");
  out->finish();
  EXPECT_EQ(files.read("ab_COL"),
            " Year\tN\tA       \tB       \n"
            "1900\t   1\t 1.000\tNA\n"
            "1901\t   1\t 1.001\t 1.000\n"
            "1902\t   0\tNA\t 1.001\n");
}

}  // namespace
}  // namespace quillet::core
