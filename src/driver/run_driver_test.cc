#include "driver/run_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "testing/decade_lines.h"
#include "testing/fake_console.h"
#include "testing/memory_files.h"

namespace quillet::driver {
namespace {

using testing::FakeConsole;

// Runs the dialogue on files in memory, named as a user types them.
class RunTest : public ::testing::Test {
 protected:
  int run_with(const std::string& answers, int tab_size = 8) {
    FakeConsole console(answers);
    const int status = run_once(console, files_, tab_size).status;
    out_ = console.out();
    err_ = console.err();
    return status;
  }
  bool exists(const char* name) const { return files_.read(name).has_value(); }

  // The files of the scratch folder the dialogue runs in.
  struct Folder {
    testing::MemoryFileSystem& files;
    void write(const std::string& name, std::string content) {
      files.write(name, std::move(content));
    }
    std::string read(const std::string& name) const { return files.read(name).value_or(""); }
  };
  testing::MemoryFileSystem files_;
  Folder dir_{files_};
  std::string out_;
  std::string err_;
};

// The banner and the file-name prompt, written out as they must appear (a piped run ends the
// prompt's line itself).
const std::string kBanner =
    " ________________________________________________\n"
    " Quillet_v7 \n"
    "  This program converts MORVEN and BILTOSE\n"
    "  output files to column format for plotting\n"
    "  NOTE: The order of columns in the output \n"
    "  file follows the order of records in the \n"
    "  input file.  qvx-QM-WRAX\n"
    "  \n"
    " Maximum Dimensions are:\n"
    "   Max.Series length =  8000\n"
    "   Max.Number of Series  =  1500\n"
    "\n"
    " Last modified 11/2012 -qvx\n"
    "\n"
    " ________________________________________________\n";
const std::string kPromptLine = "\n  Enter INPUT file name       => \n";
const std::string kPause = "  Hit return to enter a new file name or / exit program.\n";

TEST_F(RunTest, SlashQuitsAtOnce) {
  for (const char* answer : {"/\n", "/data/x.crn\n", "/"}) {
    EXPECT_EQ(run_with(answer), kExitNormal) << answer;
    EXPECT_EQ(out_, kBanner + kPromptLine) << answer;
    EXPECT_EQ(err_, "");
  }
  EXPECT_TRUE(files_.files().empty());
}

TEST_F(RunTest, MissingFileGivesTheNoticeAndAsksAgain) {
  std::string long_name(41, 'n');
  EXPECT_EQ(run_with("nosuch.crn\n/\n" + long_name + "\nanything\n/\n"), kExitNormal);
  const std::string notice =
      "\n"
      " *********** File Not Found ************\n"
      " nosuch.crn                              \n"
      " 1234567890123456789012345678901234567890\n"
      " *****************************************\n"
      "\n" +
      kPause;
  const std::string long_notice =
      "\n"
      " *********** File Not Found ************\n"
      " nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn\n"
      " 1234567890123456789012345678901234567890\n"
      " *****************************************\n"
      "\n" +
      kPause;
  EXPECT_EQ(out_, kBanner + kPromptLine + notice + kPromptLine + long_notice + kPromptLine);
}

TEST_F(RunTest, ABlankFollowedBySlashIsAFileName) {
  EXPECT_EQ(run_with(" /x\n\n/\n"), kExitNormal);
  std::string shown = "  /x";
  shown.resize(41, ' ');
  EXPECT_NE(out_.find(shown + "\n"), std::string::npos);
}

TEST_F(RunTest, FailuresAtTheConsoleEndWithTheErrorReport) {
  dir_.write("in.crn", "");
  const struct {
    std::string answers;
    const char* report;
  } cases[] = {
      {"", "? Run-time Error:\n? Attempt to read past end of file\n? READ(UNIT=*,...\n"},
      {"\n", "? Run-time Error:\n? Bad file specification\n? OPEN(UNIT=14,...\n"},
      {"    \n", "? Run-time Error:\n? Bad file specification\n? OPEN(UNIT=14,...\n"},
      {"nosuch\n", "? Run-time Error:\n? Attempt to read past end of file\n? READ(UNIT=*,...\n"},
      {"in.crn\n", "? Run-time Error:\n? Attempt to read past end of file\n? READ(UNIT=*,...\n"},
      {"in.crn\nx\n",
       "? Run-time Error:\n? Illegal character in numeric input\n? READ(UNIT=*,...\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run_with(c.answers), kExitFailure) << c.answers;
    EXPECT_EQ(err_, c.report) << c.answers;
    // The prompt's line is ended before the report.
    EXPECT_EQ(out_.back(), '\n');
    EXPECT_FALSE(exists("in_COL"));
  }
}

// A type 1 file: three header lines per series, one series from 1901 with two values.
// Year 1901 stands in slot 2, so slot 1 is passed over.
const std::string kCronol = "h1\nh2\nh3\n" + std::string("RING011901       1500  7 250  89990  0") +
                            std::string(42, ' ') + "STD\n";

TEST_F(RunTest, FileTypeAnswersTakeTheirFirstCharacterOnly) {
  // Only type 1 passes over three lines in front of the series; read with 0 header lines
  // the first header line is the series' first line and "h2" has no end marker.
  const struct {
    const char* answer;
    bool converted;
  } cases[] = {{"1", true},  {"12", true}, {" 1", false}, {"+", false},
               {"-", false}, {"", false},  {"7", false},  {"6", false}};
  for (const auto& c : cases) {
    dir_.write("ring01.crn", kCronol);
    EXPECT_EQ(run_with(std::string("ring01.crn\n") + c.answer + "\n"), kExitNormal) << c.answer;
    EXPECT_EQ(dir_.read("ring01_COL").find("RING01") != std::string::npos, c.converted) << c.answer;
  }
}

TEST_F(RunTest, ConvertsAndReplacesAnOlderLongerColumnFile) {
  dir_.write("ring01.crn", kCronol);
  dir_.write("ring01_COL", std::string(5000, 'o'));
  EXPECT_EQ(run_with("ring01.crn\n1\n"), kExitNormal);
  EXPECT_EQ(dir_.read("ring01_COL"),
            " Year\tN\tRING01  \n"
            "1901\t   7\t 1.500\n"
            "1902\t   8\t 0.250\n");
  EXPECT_EQ(err_, "");
  EXPECT_NE(out_.find(" RING01    1901  1902  STD     \n"), std::string::npos);
  EXPECT_TRUE(out_.ends_with("\n  Normal Termination of Program Quillet\n"));
}

TEST_F(RunTest, FailuresAfterTheOpeningLeaveAnOldColumnFileAsItWas) {
  const std::string old(3000, 'o');
  const struct {
    std::string input;
    const char* type;
    const char* console_end;
  } cases[] = {
      // a letter in a value: the reader's two lines
      {"RING011901       1x00  79990  0\n", "0", "  Error reading data \n  Program terminating \n"},
      // a type 2 file without its three file header lines
      {"one\ntwo\n", "2", ""},
  };
  for (const auto& c : cases) {
    dir_.write("ring01.crn", c.input);
    dir_.write("ring01_COL", old);
    EXPECT_EQ(run_with(std::string("ring01.crn\n") + c.type + "\n"), kExitFailure);
    EXPECT_EQ(dir_.read("ring01_COL"), old);
    EXPECT_TRUE(out_.ends_with(c.console_end)) << out_;
  }
  EXPECT_EQ(err_, "? Run-time Error:\n? Attempt to read past end of file\n? READ(UNIT=14,...\n");
}

TEST_F(RunTest, TheColumnFileMayNotBeTheInputFile) {
  const std::string content = kCronol;
  dir_.write("abcdefghijklmnopqrst_COL", content);
  EXPECT_EQ(run_with("abcdefghijklmnopqrst_COL\n1\n"), kExitFailure);
  EXPECT_EQ(err_, "? Run-time Error:\n? Output file is the input file\n? OPEN(UNIT=16,...\n");
  EXPECT_EQ(dir_.read("abcdefghijklmnopqrst_COL"), content);
  EXPECT_NE(out_.find("  ==========================|"), std::string::npos);
}

TEST_F(RunTest, CutOffLastSeriesIsNotCountedButWarnedAbout) {
  dir_.write("cut.crn", kCronol + "h1\nh2\nh3\nRING021901       1500  7\n");
  EXPECT_EQ(run_with("cut.crn\n1\n"), kExitNormal);
  EXPECT_EQ(err_,
            " Warning: the input ends inside series 2, before its end marker; that series is not"
            " converted\n");
  EXPECT_EQ(dir_.read("cut_COL").find("RING02"), std::string::npos);
}

// Series of `values` values each (0.500 with count 1), from `first_year`, without header lines.
std::string generated(int series, int values, int first_year = 1000) {
  std::string out;
  for (int s = 0; s < series; ++s) {
    testing::append_series(out, "S" + std::to_string(10000 + s % 10000), first_year, values,
                           [](long) {
                             return testing::Slot{500, 1};
                           });
  }
  return out;
}

TEST_F(RunTest, CapacityLimitsEndTheRunWithoutTouchingTheColumnFile) {
  const struct {
    std::string input;
    const char* message;
  } cases[] = {
      {generated(1501, 1), "  Too many series: the limit is 1500\n  Program terminating \n"},
      {generated(1, 8001), "  Series too long: the limit is 8000 values\n  Program terminating \n"},
      {generated(1, 10, 1000) + generated(1, 11, 8990),
       "  Year range too long: the limit is 8000 years\n  Program terminating \n"},
  };
  for (const auto& c : cases) {
    dir_.write("big.crn", c.input);
    dir_.write("big_COL", "old");
    EXPECT_EQ(run_with("big.crn\n0\n"), kExitFailure);
    EXPECT_TRUE(out_.ends_with(c.message)) << out_.substr(out_.size() - 200);
    EXPECT_TRUE(dir_.read("big_COL") == "old");
  }
  EXPECT_NE(out_.find(" minyr=  1000 maxage=  8001\n"), std::string::npos);

  // At the limits themselves everything converts.
  dir_.write("big.crn", generated(1500, 1) + generated(1, 8000, 1000).substr(0));
  EXPECT_EQ(run_with("big.crn\n0\n"), kExitFailure);  // 1501 series again
  dir_.write("big.crn", generated(1499, 1) + generated(1, 8000, 1000));
  EXPECT_EQ(run_with("big.crn\n0\n"), kExitNormal);
  EXPECT_NE(out_.find(" minyr=  1000 maxage=  8000\n"), std::string::npos);
  // A 1501st series cut off by the end of the input is simply not counted.
  dir_.write("big.crn", generated(1500, 1) + "S99999100 500  1\n");
  EXPECT_EQ(run_with("big.crn\n0\n"), kExitNormal);
}

TEST_F(RunTest, FaultsOfTheFileLayerEndWithTheErrorReport) {
  dir_.write("ring01.crn", kCronol);
  files_.fail_writes_after(10);
  EXPECT_EQ(run_with("ring01.crn\n1\n"), kExitFailure);
  EXPECT_EQ(err_, "? System Error:\n? No space left on device\n? WRITE(UNIT=16,...\n");
  EXPECT_EQ(dir_.read("ring01_COL"), " Year\tN\tRI");  // what was written stays

  files_.fail_open("ring01_COL");
  EXPECT_EQ(run_with("ring01.crn\n1\n"), kExitFailure);
  EXPECT_EQ(err_, "? System Error:\n? Permission denied\n? OPEN(UNIT=16,...\n");
}

TEST_F(RunTest, TabSizeAppliesToInputLines) {
  // With tab stops every 6 columns a TAB in column 6 is one blank, and the year stands in
  // columns 7-10 where it belongs; with the usual 8 it would not.
  dir_.write("tab.crn", "RING0\t1900 500  19990  0\n");
  EXPECT_EQ(run_with("tab.crn\n0\n", 6), kExitNormal);
  EXPECT_NE(dir_.read("tab_COL").find("\tRING0   \n"), std::string::npos);
  EXPECT_NE(dir_.read("tab_COL").find("1900\t   1\t 0.500"), std::string::npos);
}

}  // namespace
}  // namespace quillet::driver
