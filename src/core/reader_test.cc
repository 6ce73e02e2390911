// The library's public view of a reading: what a program linking it sees.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <sstream>
#include <thread>

#include "quillet/quillet.h"
#include "testing/decade_lines.h"
#include "testing/fake_console.h"

namespace quillet {
namespace {

std::string series(std::string_view name, long first_year, long length, long count = 2,
                   std::string_view label = "") {
  std::string out;
  testing::append_series(
      out, name, first_year, length,
      [count](long v) {
        return testing::Slot{1000 + v, count + v};
      },
      label);
  return out;
}

const std::string kHeaderLines = "Site Oak Valley\nLat 46.5 Long 9.2 Oak\nStandard chronology\n";
// Two chronologies of three header lines each (file type 1), the second with its own counts.
const std::string kStacked = kHeaderLines + series("OAK1", 1851, 3, 2, "STD") + kHeaderLines +
                             series("OAK2", 1849, 4, 7, "RES");

TEST(Reader, PathBytesAndStreamGiveOneReading) {
  testing::ScratchDir dir;
  dir.write("stacked.crn", kStacked);
  Reader reader;
  std::istringstream stream(kStacked);
  ReadOptions every;
  for (int way = 0; way < 3; ++way) {
    const Reading& reading = way == 0   ? reader.read_file(dir.file("stacked.crn"), every)
                             : way == 1 ? reader.read_bytes(kStacked, every)
                                        : reader.read_stream(stream, every);
    SCOPED_TRACE(way);
    ASSERT_TRUE(reading.converted());
    EXPECT_EQ(reading.file_type(), 1);
    EXPECT_TRUE(reading.diagnostics().empty());
    ASSERT_EQ(reading.series_count(), 2);
    const Series oak2 = reading.series(1);
    EXPECT_EQ(oak2.name(), "OAK2");
    EXPECT_EQ(oak2.column_name(), "OAK2    ");
    EXPECT_EQ(oak2.first_year(), 1849);
    EXPECT_EQ(oak2.last_year(), 1852);
    EXPECT_EQ(oak2.label(), "RES     ");
    EXPECT_EQ(oak2.header_lines(),
              (std::vector<std::string>{"Site Oak Valley", "Lat 46.5 Long 9.2 Oak",
                                        "Standard chronology"}));
    // Every series' own counts, the values as the column file writes them.
    std::vector<std::int64_t> thousandths(4);
    std::vector<std::int32_t> counts(4);
    std::vector<double> rounded(4);
    oak2.copy_thousandths(thousandths.data());
    oak2.copy_counts(counts.data());
    oak2.copy_rounded(rounded.data());
    EXPECT_EQ(thousandths, (std::vector<std::int64_t>{1000, 1001, 1002, 1003}));
    EXPECT_EQ(counts, (std::vector<std::int32_t>{7, 8, 9, 10}));
    EXPECT_EQ(rounded, (std::vector<double>{1.0, 1.001, 1.002, 1.003}));
    // The rows: 1849-1853, N from the first series only.
    EXPECT_EQ(reading.first_row_year(), 1849);
    EXPECT_EQ(reading.rows(), 5);
    EXPECT_EQ(reading.n(0), 0);
    EXPECT_EQ(reading.n(2), 2);
    EXPECT_EQ(reading.n(4), 4);
  }
  // Only the first series' counts unless every count is asked for.
  ReadOptions first_only;
  first_only.every_count = false;
  const Reading& reading = reader.read_bytes(kStacked, first_only);
  EXPECT_EQ(reading.series(0).count(2), 4);
  EXPECT_EQ(reading.series(1).count(2), 0);
}

TEST(Reader, ValuesRoundAsTheColumnFileWritesThem) {
  // Values the thousandths cannot hold: a sign, a point, a negative zero, one too wide.
  const std::string file = "GEN   1900-250  1 1.5  2-000  31.E4  4.062  59990  0\n";
  Reader reader;
  const Reading& reading = reader.read_bytes(file, {.file_type = 0});
  ASSERT_TRUE(reading.converted());
  const Series gen = reading.series(0);
  ASSERT_EQ(gen.size(), 5);
  std::vector<double> rounded(5);
  gen.copy_rounded(rounded.data());
  EXPECT_EQ(gen.thousandths(0), -250);
  EXPECT_EQ(gen.thousandths(1), 1500);
  EXPECT_EQ(gen.thousandths(2), 0);
  EXPECT_FALSE(std::signbit(rounded[2]));
  EXPECT_EQ(rounded[0], -0.25);
  EXPECT_EQ(rounded[3], 10000.0);
  EXPECT_EQ(gen.thousandths(4), 62);
  std::ostringstream table;
  write_column_file(reading, table);
  EXPECT_EQ(table.str(),
            " Year\tN\tGEN     \n"
            "1900\t   1\t-0.250\n"
            "1901\t   2\t 1.500\n"
            "1902\t   3\t 0.000\n"
            "1903\t   4\t******\n"
            "1904\t   5\t 0.062\n");
  std::string long_table;
  append_long_lines(long_table, "g\tx", reading, "\n");
  EXPECT_EQ(long_table,
            "g\\tx\t1\tGEN\t1900\t-0.250\t1\n"
            "g\\tx\t1\tGEN\t1901\t1.500\t2\n"
            "g\\tx\t1\tGEN\t1902\t0.000\t3\n"
            "g\\tx\t1\tGEN\t1903\t10000.000\t4\n"
            "g\\tx\t1\tGEN\t1904\t0.062\t5\n");
}

TEST(Reader, DiagnosticsInTheOrderMetAndTheCommandLinesWords) {
  Reader reader;
  // Given type 1, a headerless file warns of its header lines that hold data and converts.
  const std::string two = series("AZ571", 1652, 40) + series("AZ572", 1700, 5);
  const Reading& warned = reader.read_bytes(two, {.file_type = 1});
  EXPECT_TRUE(warned.converted());
  EXPECT_EQ(message_lines("two.crn", warned),
            (std::vector<std::string>{
                "two.crn:1: warning: line looks like data (series AZ571) but is passed over as a "
                "header line; is the file type right?",
                "two.crn: warning: the input ends inside series 2, before its end marker; that "
                "series is not converted"}));
  // Found by trial: one error per layout, and a control byte in the field's text escaped.
  const Reading& failed = reader.read_bytes(
      "ABC   1900 1\x01"
      "0  1\n");
  EXPECT_FALSE(failed.converted());
  EXPECT_EQ(failed.file_type(), kAutomatic);
  EXPECT_EQ(message_lines("bad\n.crn", failed),
            (std::vector<std::string>{
                "bad\\n.crn: error: as file type 1: no series was read (the input ends inside "
                "series 1, before its end marker)",
                "bad\\n.crn: error: as file type 6: no series was read (the input ends inside "
                "series 1, before its end marker)",
                "bad\\n.crn: error: as file type 2: the input ends inside its 3 file header lines",
                "bad\\n.crn:1: error: as file type 0: data cannot be read in columns 11-14: "
                "\" 1\\x010\""}));
  EXPECT_EQ(failed.series_count(), 0);
  EXPECT_EQ(escape(std::string("a\0"
                               "1\0b\x7f",
                               6)),
            "a\\x001\\0b\\x7F");
  EXPECT_THROW(write_column_file(failed, std::cout), std::invalid_argument);
}

TEST(Reader, ConventionsUnlessStrict) {
  // Stacked chronologies with an empty line behind each end marker, the last one without its
  // end marker, and a long year.
  const std::string data = kStacked + "\n" + kHeaderLines + "99551-1003" + std::string(49, ' ') +
                           " 101  1 102  1 103  1\n99551-1000 110  1\n";
  Reader reader;
  const Reading& reading = reader.read_bytes(data);
  ASSERT_TRUE(reading.converted());
  EXPECT_EQ(reading.file_type(), 1);
  EXPECT_EQ(reading.conventions(),
            (std::vector<std::string>{"long years", "last series without its end marker",
                                      "blank lines between series"}));
  EXPECT_TRUE(reading.wide_years());
  ASSERT_EQ(reading.series_count(), 3);
  EXPECT_EQ(reading.series(2).name(), "99551");
  EXPECT_EQ(reading.series(2).first_year(), -1003);
  EXPECT_EQ(reading.series(2).last_year(), -991);
  EXPECT_EQ(reading.series(2).header_lines()[0], "Site Oak Valley");
  ASSERT_EQ(reading.diagnostics().size(), 1u);
  EXPECT_EQ(message_line("in", reading.diagnostics()[0]),
            "in: warning: the input ends inside series 3 (99551) without its end marker; its "
            "values up to -991 are converted");

  ReadOptions strict;
  strict.strict = true;
  const Reading& rules = reader.read_bytes(data, strict);
  EXPECT_TRUE(rules.conventions().empty());
  EXPECT_FALSE(rules.wide_years());
  EXPECT_FALSE(rules.converted());
}

TEST(Reader, SystemFailuresAreOneExceptionType) {
  Reader reader;
  try {
    reader.read_file("/no/such/folder/x.crn");
    ADD_FAILURE() << "a missing file was read";
  } catch (const Error& error) {
    EXPECT_EQ(error.operation(), Error::Operation::kOpen);
    EXPECT_EQ(error.path(), "/no/such/folder/x.crn");
    EXPECT_EQ(error.error_code(), ENOENT);
  }
  const Reading& reading = reader.read_bytes(kStacked);
  try {
    write_column_file(reading, "/no/such/folder/x_COL");
    ADD_FAILURE() << "a column file was written into a missing folder";
  } catch (const Error& error) {
    EXPECT_EQ(error.operation(), Error::Operation::kCreate);
  }
  EXPECT_THROW(reader.read_bytes(kStacked, {.file_type = 10}), std::invalid_argument);
  EXPECT_THROW(write_column_file(reading, std::cout, {.missing = "N\tA"}), std::invalid_argument);
}

// Readers on separate threads share nothing (CI runs this under ThreadSanitizer too).
TEST(ReaderThreads, SeparateReadersReadAtOnce) {
  std::vector<std::string> inputs;
  for (int t = 0; t < 4; ++t)
    inputs.push_back(kHeaderLines + series("T" + std::to_string(t), 1800 + t, 200 + t));
  std::vector<std::string> tables(inputs.size());
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < inputs.size(); ++t) {
    threads.emplace_back([&, t] {
      Reader reader;
      for (int round = 0; round < 20; ++round) {
        std::ostringstream table;
        write_column_file(reader.read_bytes(inputs[t]), table);
        tables[t] = table.str();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (std::size_t t = 0; t < inputs.size(); ++t) {
    Reader reader;
    std::ostringstream table;
    write_column_file(reader.read_bytes(inputs[t]), table);
    EXPECT_EQ(tables[t], table.str());
    EXPECT_EQ(tables[t].substr(0, 16), " Year\tN\tT" + std::to_string(t) + "      ");
  }
}

}  // namespace
}  // namespace quillet
