#include "driver/output_name.h"

#include <gtest/gtest.h>

namespace quillet::driver {
namespace {

std::string padded(std::string name) {
  name.resize(kAnswerLength, ' ');
  return name;
}

TEST(DeriveOutputName, StemEndsAtTheFirstDotOrBlankAmongTwentyCharacters) {
  const struct {
    const char* input;
    const char* output;
  } cases[] = {
      {"ring01.crn", "ring01_COL"},
      {"site.ind.txt", "site_COL"},
      {"mydata", "mydata_COL"},
      {"my data.crn", "my_COL"},
      {"data/x.crn", "data/x_COL"},
      {"../data/x.crn", "_COL"},
      {"abcdefghijklmnopqrstuvwxyz.crn", "abcdefghijklmnopqrst_COL"},
      {" a name typed with a leading blank", "_COL"},
      {"abcdefghijklmnopqrst.crn", "abcdefghijklmnopqrst_COL"},
      {"abcdefghijklmnopqrst_COL", "abcdefghijklmnopqrst_COL"},
      {"C:\\data\\ring01.crn", "C:\\data\\ring01_COL"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(derive_output_name(padded(c.input)), padded(c.output)) << c.input;
  }
}

TEST(TrimBlanks, RemovesLeadingAndTrailingBlanksOnly) {
  EXPECT_EQ(trim_blanks("  my data.crn   "), "my data.crn");
  EXPECT_EQ(trim_blanks("    "), "");
  EXPECT_EQ(trim_blanks(""), "");
}

}  // namespace
}  // namespace quillet::driver
