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
  EXPECT_EQ(read_error_place({.line = 1, .first_column = 18, .last_column = 21, .text = " 2x4"}),
            " Error reading data in line 1, columns 18-21: \" 2x4\"");
  EXPECT_EQ(header_line_data_warning({.line = 2, .name = "XXX"}),
            " Warning: line 2 looks like data (series XXX) but is passed over as a header line; "
            "is the file type right?");
  EXPECT_EQ(run_into_warning({.line = 113, .name = "NM537", .series = 3, .series_name = "AZ510"}),
            " Warning: line 113 (NM537) is read as part of series 3 (AZ510); is its end marker "
            "missing?");
  EXPECT_EQ(cut_off_warning(3),
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

}  // namespace
}  // namespace quillet::driver
