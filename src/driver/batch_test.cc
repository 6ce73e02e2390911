#include "driver/batch.h"

#include <gtest/gtest.h>

#include "quillet/column_file.h"
#include "testing/decade_lines.h"
#include "testing/fake_console.h"
#include "testing/memory_files.h"

namespace quillet::driver {
namespace {

using testing::FakeConsole;
using testing::MemoryFileSystem;

std::string series(std::string_view name, long first_year, long length) {
  std::string out;
  testing::append_series(out, name, first_year, length, [](long v) {
    return testing::Slot{1000 + v, 2};
  });
  return out;
}

const std::string kHeaderLines = "Site Oak Valley\nLat 46.5 Long 9.2 Oak\nStandard chronology\n";
// CRONOL: three header lines, then a series of three values.
const std::string kCronol = kHeaderLines + series("OAK1", 1850, 3);
const std::string kCronolTable =
    " Year\tN\tOAK1    \n"
    "1850\t   2\t 1.000\n"
    "1851\t   2\t 1.001\n"
    "1852\t   2\t 1.002\n";

class BatchTest : public ::testing::Test {
 protected:
  int run(const std::vector<std::string>& arguments, std::string standard_input = "") {
    FakeConsole console(std::move(standard_input));
    const int status = run_command_line(arguments, console, files_, 8);
    out_ = console.out();
    err_ = console.err();
    return status;
  }
  MemoryFileSystem files_;
  std::string out_;
  std::string err_;
};

TEST_F(BatchTest, EachFileInTheLayoutThatReadsIt) {
  files_.write("oak.early.crn", kCronol);
  files_.write("data/one.mst", "a header line\n" + series("ONE", 1900, 2));
  // One series behind three header lines reads the same as CRONOL; two tell the layouts apart.
  files_.write("index.ind", kHeaderLines + series("IX", 1901, 1) + series("IY", 1901, 1));
  files_.write("plain", series("P", 1902, 1));
  EXPECT_EQ(run({"oak.early.crn", "data/one.mst", "index.ind", "plain"}), kBatchConverted);
  EXPECT_EQ(out_,
            "oak.early.crn -> oak.early_COL: 1 series, 1850-1852, file type 1\n"
            "data/one.mst -> data/one_COL: 1 series, 1900-1901, file type 6\n"
            "index.ind -> index_COL: 2 series, 1901-1901, file type 2\n"
            "plain -> plain_COL: 1 series, 1902-1902, file type 0\n");
  EXPECT_EQ(err_, "");
  EXPECT_EQ(files_.read("oak.early_COL"), kCronolTable);
  // No file is left but the inputs and the tables.
  EXPECT_EQ(files_.files().size(), 8u);
}

TEST_F(BatchTest, NamesOfColumnFiles) {
  const struct {
    const char* file;
    std::optional<std::string> dir;
    const char* column_file;
  } cases[] = {
      {"oak.early.crn", {}, "oak.early_COL"}, {"/data/long name.crn", {}, "/data/long name_COL"},
      {"../x.crn", {}, "../x_COL"},           {".hidden", {}, ".hidden_COL"},
      {"dir.d/plain", {}, "dir.d/plain_COL"}, {"data/x.crn", "out", "out/x_COL"},
      {"data/x.crn", "out/", "out/x_COL"},
  };
  for (const auto& c : cases) EXPECT_EQ(column_file_name(c.file, c.dir), c.column_file) << c.file;
}

TEST_F(BatchTest, WarningsAndErrorsInTheFormCompilersUse) {
  files_.write("ok.crn", kCronol);
  // Type given: a headerless file as CRONOL warns and converts; a letter fails.
  files_.write("bare.crn", series("BARE", 1850, 40) + series("NEXT", 1900, 2));
  files_.write("bad.crn", kHeaderLines + "BAD   1850 1x00  1\n");
  files_.write("empty.crn", "");
  EXPECT_EQ(run({"-t", "1", "-q", "bare.crn", "bad.crn", "ok.crn", "empty.crn", "none.crn"}),
            kBatchNotConverted);
  EXPECT_EQ(out_, "");
  EXPECT_EQ(err_,
            "bare.crn:1: warning: line looks like data (series BARE) but is passed over as a "
            "header line; is the file type right?\n"
            "bare.crn: warning: the input ends inside series 2, before its end marker; that "
            "series is not converted\n"
            "bad.crn:4: error: data cannot be read in columns 11-14: \" 1x0\"\n"
            "empty.crn: warning: no series was read from the input; the column file holds only "
            "its header line\n"
            "none.crn: error: cannot open none.crn: No such file or directory\n");
  EXPECT_EQ(files_.read("empty_COL"), " Year\tN\n");
  EXPECT_FALSE(files_.read("bad_COL"));
  EXPECT_EQ(files_.read("ok_COL"), kCronolTable);

  // Found by itself: none of the four layouts reads a file, and each says why; a ring-width
  // file is said to be one, in one line.
  files_.write("short.crn", "ABC01 1850   123   234   345\nABC01 1853   124\n");
  EXPECT_EQ(run({"short.crn"}), kBatchNotConverted);
  EXPECT_EQ(err_,
            "short.crn:1: error: as file type 1: line looks like data (series ABC01) but would "
            "be passed over as a header line\n"
            "short.crn:1: error: as file type 6: line looks like data (series ABC01) but would "
            "be passed over as a header line\n"
            "short.crn:1: error: as file type 2: line looks like data (series ABC01) but would "
            "be passed over as a header line\n"
            "short.crn: error: as file type 0: no series was read (the input ends inside "
            "series 1, before its end marker)\n");
  files_.write("widths.rwl", "Oak widths\nABC01   1850   123   234   345\nABC01   1853   999\n");
  EXPECT_EQ(run({"widths.rwl"}), kBatchNotConverted);
  EXPECT_EQ(err_,
            "widths.rwl:2: error: a ring-width file (measurements, not a chronology): no file "
            "type reads it\n");
}

TEST_F(BatchTest, TheDataBanksConventionsUnlessStrict) {
  // A series without its end marker before the next one, and a last one without its own.
  files_.write("split.crn", "FIRST 1958" + std::string(56, ' ') + " 100  1 101  1\n" +
                                "NEXT  1963" + std::string(21, ' ') + " 200  19990  0\n" +
                                "LAST  1960 300  1 301  1\n");
  EXPECT_EQ(run({"split.crn"}), kBatchConverted);
  EXPECT_EQ(out_,
            "split.crn -> split_COL: 3 series, 1958-1969, file type 0, series split by their "
            "names, last series without its end marker\n");
  EXPECT_EQ(err_,
            "split.crn:2: warning: series 1 (FIRST) has no end marker; this line starts series 2 "
            "(NEXT)\n"
            "split.crn: warning: the input ends inside series 3 (LAST) without its end marker; "
            "its values up to 1969 are converted\n");
  EXPECT_TRUE(
      files_.read("split_COL")
          ->starts_with(
              " Year\tN\tFIRST   \tNEXT    \tLAST    \n1958\t   1\t 0.100\t 0.000\t 0.000\n"));
  EXPECT_EQ(run({"--strict", "split.crn"}), kBatchConverted);
  EXPECT_EQ(out_, "split.crn -> split_COL: 1 series, 1958-1963, file type 0\n");
  EXPECT_EQ(err_,
            "split.crn:2: warning: line (NEXT) is read as part of series 1 (FIRST); is its end "
            "marker missing?\n"
            "split.crn: warning: the input ends inside series 2, before its end marker; that "
            "series is not converted\n");

  // Long years, with a statistics line behind the end marker; the years written whole.
  files_.write("old.crn", kHeaderLines + "99551-1003" + std::string(49, ' ') +
                              " 101  1 102  1 103  1\n" + "99551-1000" + std::string(70, ' ') +
                              "\n" + "99551 -990 120  19990  0\n" + "99551   14  .261  .445\n");
  EXPECT_EQ(run({"-t", "1", "old.crn"}), kBatchConverted);
  EXPECT_EQ(out_,
            "old.crn -> old_COL: 1 series, -1003-0, file type 1, long years, statistics lines\n");
  EXPECT_EQ(err_, "");
  EXPECT_TRUE(
      files_.read("old_COL")->starts_with(" Year\tN\t99551   \n-1003\t   1\t 0.101\n"
                                          "-1002\t   1\t 0.102\n"));
}

TEST_F(BatchTest, WholeOrNothing) {
  files_.write("a.crn", kCronol);
  files_.write("a_COL", "old table\n");
  files_.fail_writes_after(10);
  EXPECT_EQ(run({"a.crn"}), kBatchNotConverted);
  EXPECT_EQ(err_, "a.crn: error: cannot write a_COL: No space left on device\n");
  EXPECT_EQ(files_.read("a_COL"), "old table\n");
  EXPECT_EQ(files_.files().size(), 2u);  // no new file left behind

  MemoryFileSystem renames_fail;
  files_ = renames_fail;
  files_.write("a.crn", kCronol);
  files_.fail_renames();
  EXPECT_EQ(run({"a.crn"}), kBatchNotConverted);
  EXPECT_EQ(err_, "a.crn: error: cannot put a_COL in place: Permission denied\n");
  EXPECT_EQ(files_.files().size(), 1u);

  files_ = MemoryFileSystem();
  files_.write("a.crn", kCronol);
  files_.fail_open("a.crn");
  EXPECT_EQ(run({"a.crn"}), kBatchNotConverted);
  EXPECT_EQ(err_, "a.crn: error: cannot open a.crn: Permission denied\n");
}

TEST_F(BatchTest, TwoFilesOfOneColumnFile) {
  files_.write("a.crn", kCronol);
  files_.write("a.mst", "x\n" + series("MST", 1900, 1));
  EXPECT_EQ(run({"-q", "a.crn", "a.mst"}), kBatchNotConverted);
  EXPECT_EQ(err_,
            "a.mst: error: its column file a_COL is the table of an earlier FILE of this run\n");
  EXPECT_EQ(files_.read("a_COL"), kCronolTable);
}

TEST_F(BatchTest, StandardInputAndMissingCells) {
  EXPECT_EQ(run({"-", "--missing", "NA"}, series("A", 1850, 2) + series("B", 1851, 2)),
            kBatchConverted);
  EXPECT_EQ(out_,
            " Year\tN\tA       \tB       \n"
            "1850\t   2\t 1.000\tNA\n"
            "1851\t   2\t 1.001\t 1.000\n"
            "1852\t   0\tNA\t 1.001\n");
  EXPECT_EQ(err_, "- -> -: 2 series, 1850-1852, file type 0\n");
  EXPECT_EQ(run({"-t", "1", "-"}, kCronol), kBatchConverted);
  EXPECT_EQ(out_, kCronolTable);
}

TEST_F(BatchTest, MistakesOnTheCommandLineConvertNothing) {
  files_.write("a.crn", kCronol);
  EXPECT_EQ(run({"a.crn", "--bogus"}), kBatchUsage);
  EXPECT_EQ(err_, "quillet: unknown option '--bogus' (quillet --help shows the usage)\n");
  EXPECT_EQ(run({"a.crn", "-o", "nowhere"}), kBatchUsage);
  EXPECT_EQ(err_,
            "quillet: the output folder nowhere does not exist (quillet --help shows the usage)\n");
  EXPECT_FALSE(files_.read("a_COL"));
  EXPECT_EQ(run({"--version"}), kBatchConverted);
  EXPECT_EQ(out_, "quillet 7.0\n");
  files_.make_directory("out");
  EXPECT_EQ(run({"-q", "-o", "out", "a.crn"}), kBatchConverted);
  EXPECT_EQ(files_.read("out/a_COL"), kCronolTable);
}

TEST_F(BatchTest, LimitsStopOneFileOnly) {
  std::string many;
  for (int s = 0; s < 1501; ++s) many += series("S", 1900, 1);
  files_.write("many.txt", many);
  files_.write("a.crn", kCronol);
  EXPECT_EQ(run({"-q", "many.txt", "a.crn"}), kBatchNotConverted);
  EXPECT_EQ(err_,
            "many.txt:1: error: as file type 1: line looks like data (series S) but would be "
            "passed over as a header line\n"
            "many.txt:1: error: as file type 6: line looks like data (series S) but would be "
            "passed over as a header line\n"
            "many.txt:1: error: as file type 2: line looks like data (series S) but would be "
            "passed over as a header line\n"
            "many.txt: error: as file type 0: too many series: the limit is 1500\n");
  EXPECT_EQ(files_.read("a_COL"), kCronolTable);

  // 8001 years from the first series' first year to the last one's last: one too many.
  files_.write("span.txt", series("EARLY", 100, 1) + series("LATE", 8100, 1));
  files_.write("fits.txt", series("EARLY", 100, 1) + series("LATE", 8099, 1));
  EXPECT_EQ(run({"-t", "0", "span.txt", "fits.txt"}), kBatchNotConverted);
  EXPECT_EQ(err_, "span.txt: error: year range too long: the limit is 8000 years\n");
  EXPECT_EQ(out_, "fits.txt -> fits_COL: 2 series, 100-8099, file type 0\n");
  EXPECT_FALSE(files_.read("span_COL"));
}

TEST_F(BatchTest, NoInputOfTheRunIsReplaced) {
  files_.write("z_COL", "x\n" + series("MST", 1900, 1));
  files_.write("z.crn", kCronol);
  for (const auto& order : {std::vector<std::string>{"-q", "z_COL", "z.crn"},
                            std::vector<std::string>{"-q", "z.crn", "z_COL"}}) {
    EXPECT_EQ(run(order), kBatchNotConverted);
    EXPECT_EQ(err_, "z.crn: error: its column file z_COL is an input of this run\n");
    EXPECT_EQ(files_.read("z_COL"), "x\n" + series("MST", 1900, 1));
  }
  // Standard input given twice: the second is refused.
  EXPECT_EQ(run({"-q", "-t", "1", "-", "-"}, kCronol), kBatchNotConverted);
  EXPECT_EQ(out_, kCronolTable);
  EXPECT_EQ(err_, "-: error: given twice in this run\n");
  EXPECT_EQ(run({"-q", ""}), kBatchNotConverted);
  EXPECT_EQ(err_, ": error: empty file name\n");
}

TEST_F(BatchTest, UnderAutoALimitIsTheFilesAnswer) {
  // Read as file type 1 the series span 8002 years; no later layout is tried.
  files_.write("span.crn",
               "\n\n\nAAAAAA1000 500  1 600  19990  0\n\n\n\nBBBBBB9000 500  1 600  19990  0\n");
  EXPECT_EQ(run({"span.crn"}), kBatchNotConverted);
  EXPECT_EQ(err_,
            "span.crn: error: as file type 1: year range too long: the limit is 8000 years\n");
  EXPECT_FALSE(files_.read("span_COL"));
}

TEST_F(BatchTest, LongTableOfEveryFile) {
  files_.write("a.crn", kCronol);
  files_.write(
      "two.mst", "h\n" + series("P1", 1900, 2) + "h\n" + [] {
        std::string out;
        testing::append_series(out, "P2", 1901, 2, [](long v) {
          return testing::Slot{-250 - v, 7 + v};
        });
        return out;
      }());
  files_.write("bad.crn", "BAD   1850 1x00  1\n");
  EXPECT_EQ(run({"--long", "a.crn", "bad.crn", "two.mst", "a.crn"}), kBatchNotConverted);
  EXPECT_EQ(out_,
            "file\tseries_number\tseries\tyear\tvalue\tcount\n"
            "a.crn\t1\tOAK1\t1850\t1.000\t2\n"
            "a.crn\t1\tOAK1\t1851\t1.001\t2\n"
            "a.crn\t1\tOAK1\t1852\t1.002\t2\n"
            "two.mst\t1\tP1\t1900\t1.000\t2\n"
            "two.mst\t1\tP1\t1901\t1.001\t2\n"
            "two.mst\t2\tP2\t1901\t-0.250\t7\n"
            "two.mst\t2\tP2\t1902\t-0.251\t8\n");
  EXPECT_EQ(err_,
            "a.crn: 1 series, 1850-1852, file type 1\n"
            "bad.crn: error: as file type 1: no series was read (the input ends inside series "
            "1, before its end marker)\n"
            "bad.crn: error: as file type 6: no series was read (the input ends inside series "
            "1, before its end marker)\n"
            "bad.crn: error: as file type 2: the input ends inside its 3 file header lines\n"
            "bad.crn:1: error: as file type 0: data cannot be read in columns 11-14: \" 1x0\"\n"
            "two.mst: 2 series, 1900-1902, file type 6\n"
            "a.crn: error: given twice in this run\n");
  EXPECT_EQ(files_.files().size(), 3u);  // no column file
  EXPECT_EQ(run({"--long", "-q", "nothing.crn"}), kBatchNotConverted);
  EXPECT_EQ(out_, "file\tseries_number\tseries\tyear\tvalue\tcount\n");
  EXPECT_EQ(err_, "nothing.crn: error: cannot open nothing.crn: No such file or directory\n");
}

TEST_F(BatchTest, OptionsThatWouldBreakTheRunAreMistakes) {
  files_.write("a.crn", kCronol);
  EXPECT_EQ(run({"a.crn", "-o", "a.crn"}), kBatchUsage);
  EXPECT_EQ(err_,
            "quillet: the output folder a.crn is not a folder (quillet --help shows the usage)\n");
  EXPECT_EQ(run({"a.crn", "--missing", "N\tA"}), kBatchUsage);
  EXPECT_EQ(run({"a.crn", "--missing", "N\nA"}), kBatchUsage);
  EXPECT_EQ(run({"--long", "--missing", "NA", "a.crn"}), kBatchUsage);
  EXPECT_EQ(run({"--long", "-o", ".", "a.crn"}), kBatchUsage);
  EXPECT_FALSE(files_.read("a_COL"));
}

TEST_F(BatchTest, AFailingStandardOutputIsSaidOnceAndFailsTheRun) {
  files_.write("a.crn", kCronol);
  files_.write("b.crn", kCronol);
  FakeConsole console("");
  console.fail_output();
  EXPECT_EQ(run_command_line({"a.crn", "b.crn"}, console, files_, 8), kBatchNotConverted);
  EXPECT_EQ(console.err(),
            "quillet: error: cannot write standard output: No space left on device\n");
  EXPECT_EQ(files_.read("a_COL"), kCronolTable);  // the tables stand
  EXPECT_EQ(files_.read("b_COL"), kCronolTable);
  FakeConsole help("");
  help.fail_output();
  EXPECT_EQ(run_command_line({"--help"}, help, files_, 8), kBatchNotConverted);
  EXPECT_EQ(help.err(), "quillet: error: cannot write standard output: No space left on device\n");
  // A long table that could not be written sums nothing up; a lost error stream fails the run.
  FakeConsole long_table("");
  long_table.fail_output();
  EXPECT_EQ(run_command_line({"--long", "a.crn"}, long_table, files_, 8), kBatchNotConverted);
  EXPECT_EQ(long_table.err(),
            "quillet: error: cannot write standard output: No space left on device\n");
  FakeConsole errors_lost("");
  errors_lost.fail_errors();
  EXPECT_EQ(run_command_line({"-q", "--long", "a.crn"}, errors_lost, files_, 8), kBatchConverted);
  EXPECT_EQ(run_command_line({"--long", "a.crn"}, errors_lost, files_, 8), kBatchNotConverted);
}

}  // namespace
}  // namespace quillet::driver
