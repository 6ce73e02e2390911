#include "driver/dialogue.h"

#include <gtest/gtest.h>

namespace quillet::driver {
namespace {

using Lines = std::vector<std::string>;

TEST(Dialogue, WhatTheReadingMeetsIsWordedSo) {
  reading::SeriesResult read{
      .name = "SITE01  ", .first_year = 1650, .last_year = 1980, .label = "STD     "};
  EXPECT_EQ(series_report(12, read),
            (Lines{" Reading in series   12", " SITE01    1650  1980  STD     ", ""}));
  read = {.name = "X       ", .first_year = -15, .last_year = 123456, .label = ""};
  EXPECT_EQ(series_report(1, read).at(1), " X          -15 *****  ");

  EXPECT_EQ(stop_lines(kErrorReadingData),
            (Lines{"  Error reading data ", "  Program terminating "}));
  const auto diagnostic = [](DiagnosticKind kind, std::int64_t line, std::string name, int s,
                             std::string series_name) {
    Diagnostic d;
    d.kind = kind;
    d.severity = Severity::kWarning;
    d.line = line;
    d.name = std::move(name);
    d.series = s;
    d.series_name = std::move(series_name);
    return d;
  };
  Diagnostic error;
  error.line = 1;
  error.first_column = 18;
  error.last_column = 21;
  error.text = " 2x4";
  EXPECT_EQ(read_error_place(error), " Error reading data in line 1, columns 18-21: \" 2x4\"");
  EXPECT_EQ(warning_line(diagnostic(DiagnosticKind::kHeaderLineData, 2, "XXX", 0, "")),
            " Warning: line 2 looks like data (series XXX) but is passed over as a header line; "
            "is the file type right?");
  EXPECT_EQ(warning_line(diagnostic(DiagnosticKind::kRunInto, 113, "NM537", 3, "AZ510")),
            " Warning: line 113 (NM537) is read as part of series 3 (AZ510); is its end marker "
            "missing?");
  EXPECT_EQ(warning_line(diagnostic(DiagnosticKind::kCutOff, 0, "", 3, "")),
            " Warning: the input ends inside series 3, before its end marker; that series is not "
            "converted");
  EXPECT_EQ(no_series_warning(),
            " Warning: no series was read from the input; the column file holds only its header "
            "line");
}

TEST(Dialogue, TheMenuOffersSixTypes) {
  EXPECT_EQ(file_type_menu(),
            (Lines{"  ", "  SELECT FILE TYPE ", "  ", "  1 = MORVEN.CRONOL", "  2 = MORVEN.INDEX ",
                   "  3 = MORVEN.CURVES ", "  4 = MORVEN.RESIDUALS ", "  5 = MORVEN.WEIGHTS ",
                   "  6 = BILTOSE.MASTER", "  "}));
}

TEST(PlainLine, PutsOneBlankInFront) {
  EXPECT_EQ(plain_line(" SELECT FILE TYPE "), "  SELECT FILE TYPE ");
  EXPECT_EQ(plain_line(" "), "  ");
  EXPECT_EQ(plain_line(""), " ");
}

TEST(YearRangeReport, ShowsTheFullNameFieldAndFiveColumnNumbers) {
  std::string name = "fna_COL";
  name.resize(40, ' ');
  const auto lines = year_range_report(name, table::YearRange{8000, 0, -7999});
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], " writing reformatted data to outfile " + name);
  EXPECT_EQ(lines[2], " minyr=  8000 maxage= -7999");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(year_range_report(name, table::YearRange{1650, 2000, 351})[2],
            " minyr=  1650 maxage=   351");
}

}  // namespace
}  // namespace quillet::driver
