#include "reading/ring_width.h"

#include <gtest/gtest.h>

#include "testing/fake_console.h"

namespace quillet::reading {
namespace {

std::optional<std::int64_t> first_line(std::string text, int tab_size = 8) {
  testing::StringSource source(std::move(text), 7);
  fields::LineReader lines(source, tab_size, fields::LineEnds::kFileDecides);
  return first_ring_width_line(lines);
}

TEST(RingWidth, RingWidthFilesAreToldByTheirLinesAndEndMarkers) {
  // Three header lines, then two samples in six-column fields, CR LF line ends; the second
  // ends with -9999.
  EXPECT_EQ(first_line("OAK    1 Some Ridge                    QUAL\r\n"
                       "OAK    2 Somewhere   Oak               1200M\r\n"
                       "OAK    3 A. Person\r\n"
                       "OAK01A  1901   120   133    98\r\n"
                       "OAK01A  1910   101    87   999\r\n"
                       "OAK02B -0005  1200  1330\r\n"
                       "OAK02B -0003  1010   870 -9999\r\n"),
            4);
  // Values apart by blanks and TABs, not in their columns; a blank line between samples.
  EXPECT_EQ(first_line("\nS1       1   10 30 50 70 999\n\nS2      12\t1\t22\t-9999\n"), 2);
  EXPECT_EQ(first_line("S1       1   10 30 50 70 999\n", 0), 1);
}

TEST(RingWidth, ChronologiesAndOtherLinesAreNot) {
  // Decade lines of a chronology (values of 4 columns, counts of 3), 999 among the values
  // and 9990 ending the series.
  EXPECT_EQ(first_line("RIDGE 1850 999  31248  3 796  31074  31296  3 759  3 999 12\n"
                       "RIDGE 1860 999 12 999 12 999 12 999 12 999 12 999 12 999 12\n"
                       "RIDGE 18701031  39990  0\n"),
            std::nullopt);
  // Ring-width lines whose samples never end with a marker.
  EXPECT_EQ(first_line("OAK01A  1901   120   133    98\nOAK01A  1910   101    87   998\n"),
            std::nullopt);
  bool ends = false;
  EXPECT_FALSE(is_ring_width_line("        1901   120   999", ends));  // no name
  EXPECT_FALSE(is_ring_width_line("OAK01A  19x1   120   999", ends));  // no year
  EXPECT_FALSE(is_ring_width_line("OAK01A  1901", ends));              // no value
  EXPECT_FALSE(is_ring_width_line("OAK01A  1901   1.2   999", ends));  // not an integer
  EXPECT_FALSE(is_ring_width_line("OAK01A  1900 1 2 3 4 5 6 7 8 9 10 999", ends));  // 11 values
  EXPECT_TRUE(is_ring_width_line("OAK01A  1900 1 2 3 4 5 6 7 8 9 999", ends));
  EXPECT_TRUE(ends);
  EXPECT_TRUE(is_ring_width_line("AKK00010-384   200   130", ends));
  EXPECT_FALSE(ends);
  // The marker only counts as a sample's last value.
  EXPECT_TRUE(is_ring_width_line("OAK01A  1901   999   120", ends));
  EXPECT_FALSE(ends);
}

}  // namespace
}  // namespace quillet::reading
