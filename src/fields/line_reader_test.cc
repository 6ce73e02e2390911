#include "fields/line_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "testing/fake_console.h"

namespace quillet::fields {
namespace {

using testing::StringSource;

struct Line {
  std::string text;
  bool blank;
  bool operator==(const Line&) const = default;
};

std::vector<Line> read_all(const std::string& data, std::size_t keep = 100, int tab_size = 8,
                           std::size_t chunk = 1 << 16, LineEnds line_ends = LineEnds::kLineFeed,
                           bool rewindable = true) {
  StringSource source(data, chunk);
  if (!rewindable) source.make_unrewindable();
  LineReader reader(source, tab_size, line_ends);
  std::vector<Line> lines;
  while (reader.next(keep)) lines.push_back({std::string(reader.text()), reader.blank()});
  return lines;
}

std::vector<std::string> texts(const std::vector<Line>& lines) {
  std::vector<std::string> out;
  for (const Line& line : lines) out.push_back(line.text);
  return out;
}

TEST(LineReader, LineEndsAndCarriageReturns) {
  using V = std::vector<std::string>;
  const struct {
    const char* data;
    V lines;
  } cases[] = {
      {"a\nb\n", V{"a", "b"}},
      {"a\r\nb\r\n", V{"a", "b"}},
      {"a\nb", V{"a", "b"}},  // the last line needs no line end
      {"", V{}},
      {"\n\n", V{"", ""}},
      {"a\rb\r\r\n", V{"ab"}},  // a CR is dropped wherever it stands
      {"a\rb\rc", V{"abc"}},    // CR-only line ends make one line
      {"\r", V{""}},
  };
  for (const auto& c : cases) {
    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{1} << 16}) {
      EXPECT_EQ(texts(read_all(c.data, 100, 8, chunk)), c.lines)
          << "[" << c.data << "] chunk " << chunk;
    }
  }
}

TEST(LineReader, TabsExpandToTabStops) {
  EXPECT_EQ(texts(read_all("\t1850\n")), std::vector<std::string>{"        1850"});
  EXPECT_EQ(texts(read_all("abc\tx\n")), std::vector<std::string>{"abc     x"});
  EXPECT_EQ(texts(read_all("abcdefgh\tx")), std::vector<std::string>{"abcdefgh        x"});
  EXPECT_EQ(texts(read_all("a\r\tx")),
            std::vector<std::string>{"a       x"});  // CR takes no column
  EXPECT_EQ(texts(read_all("ab\tx", 100, 4)), std::vector<std::string>{"ab  x"});
  EXPECT_EQ(texts(read_all("ab\tx", 100, 1)), std::vector<std::string>{"ab x"});
  EXPECT_EQ(texts(read_all("ab\tx", 100, 0)), std::vector<std::string>{"ab\tx"});
  // Split across reads the columns still count from the line's start.
  EXPECT_EQ(texts(read_all("abc\tx\td", 100, 8, 1)), std::vector<std::string>{"abc     x       d"});
}

TEST(LineReader, KeepsOnlyTheColumnsAsked) {
  EXPECT_EQ(read_all("abcdefgh\n", 3), (std::vector<Line>{{"abc", false}}));
  EXPECT_EQ(read_all("\t\tx\n", 10), (std::vector<Line>{{"          ", false}}));
  EXPECT_EQ(read_all("\t\t\n", 10, 1000), (std::vector<Line>{{"          ", true}}));
  EXPECT_EQ(read_all("abc", 0), (std::vector<Line>{{"", false}}));
}

TEST(LineReader, BlankMeansOnlyBlanksAndTabsInTheWholeLine) {
  EXPECT_EQ(read_all(" \t \r\n\nx\n", 100),
            (std::vector<Line>{{"         ", true}, {"", true}, {"x", false}}));
  // Content beyond the kept columns still counts, however it arrives.
  for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 16}) {
    EXPECT_EQ(read_all("     x\n", 2, 8, chunk), (std::vector<Line>{{"  ", false}}));
    EXPECT_EQ(read_all("  \t  \t\r\n", 2, 8, chunk), (std::vector<Line>{{"  ", true}}));
  }
}

TEST(LineReader, StepBackGivesTheSameLineAgain) {
  StringSource source("first\nsecond\n");
  LineReader reader(source, 8);
  ASSERT_TRUE(reader.next(88));
  reader.step_back();
  ASSERT_TRUE(reader.next(88));
  EXPECT_EQ(reader.text(), "first");
  ASSERT_TRUE(reader.next(88));
  EXPECT_EQ(reader.text(), "second");
  EXPECT_FALSE(reader.next(88));
  EXPECT_FALSE(reader.next(88));
}

// An input file's lines, read as the run reads them.
std::vector<std::string> read_file(const std::string& data, std::size_t chunk,
                                   bool rewindable = true) {
  return texts(read_all(data, 100, 8, chunk, LineEnds::kFileDecides, rewindable));
}

// A file without a single line feed but with carriage returns has classic line ends; every
// other file reads by the line feed rule, CRs dropped.
TEST(LineReader, FilesWithClassicLineEnds) {
  using V = std::vector<std::string>;
  const struct {
    const char* data;
    V lines;
  } cases[] = {
      {"a\rb\rc", V{"a", "b", "c"}},  // the last line needs no CR
      {"a\rb\r", V{"a", "b"}},
      {"a\r\rb\r", V{"a", "", "b"}},  // CR CR is an empty line
      {"\r", V{""}},
      {"a\r\r\nb\r\r\n", V{"a", "b"}},   // CR CR LF: a line feed file
      {"a\rb\nc\n", V{"ab", "c"}},       // a lone CR inside a line feed file is dropped
      {"a\tb\rc", V{"a       b", "c"}},  // TABs expand as ever
      {"abc", V{"abc"}},
      {"", V{}},
  };
  for (const auto& c : cases) {
    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{1} << 16}) {
      EXPECT_EQ(read_file(c.data, chunk), c.lines) << "[" << c.data << "] chunk " << chunk;
    }
  }
  // Beyond the first buffer: a line feed far behind many CRs still decides for it.
  std::string long_classic;
  std::string joined;
  for (int i = 0; i < 20000; ++i) {
    long_classic += "line\r";
    joined += "line";
  }
  EXPECT_EQ(read_file(long_classic, 1 << 16), V(20000, "line"));
  EXPECT_EQ(read_file(long_classic + "\n", 1 << 16), V{joined.substr(0, 100)});  // 100 kept
  // A pipe cannot be read twice: it keeps the line feed rule.
  EXPECT_EQ(read_file("a\rb\rc", 1 << 16, false), V{"abc"});
  // The console never takes classic line ends.
  EXPECT_EQ(texts(read_all("a\rb\rc")), V{"abc"});
}

// The rule written out as plainly as it can be, for the comparison below.
std::vector<Line> reference_lines(const std::string& data, std::size_t keep, std::size_t tab) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    std::string text;
    bool blank = true;
    for (std::size_t i = start; i < end; ++i) {
      const char c = data[i];
      if (c == '\r') continue;
      if (c != ' ' && c != '\t') blank = false;
      if (c == '\t' && tab > 0) {
        text.append(tab - text.size() % tab, ' ');
      } else {
        text.push_back(c);
      }
    }
    if (text.size() > keep) text.resize(keep);
    lines.push_back({text, blank});
    start = end + 1;
  }
  return lines;
}

// The line reader's in-place branch (a whole line in the buffer, no CR or TAB) and its
// copying branches against the rule, over random lines read in random pieces.
TEST(LineReader, EveryBranchReadsByTheRule) {
  std::mt19937 random(11);
  const char alphabet[] = {'a', 'b', ' ', '\t', '\r', '\n', 'x', ' '};
  for (int trial = 0; trial < 3000; ++trial) {
    const std::size_t length = trial < 20 ? 70000 + random() % 70000 : random() % 300;
    std::string data;
    for (std::size_t i = 0; i < length; ++i) data.push_back(alphabet[random() % 8]);
    if (trial % 3 == 0) data += std::string(random() % 200, 'y');  // long plain lines too
    const std::size_t keep = random() % 120;
    const auto tab = static_cast<int>(random() % 10);
    const std::size_t chunk = trial % 4 == 0 ? std::size_t{1} << 16 : 1 + random() % 90;
    ASSERT_EQ(read_all(data, keep, tab, chunk),
              reference_lines(data, keep, static_cast<std::size_t>(tab)))
        << "trial " << trial << ", keep " << keep << ", tab " << tab << ", chunk " << chunk;
  }
}

}  // namespace
}  // namespace quillet::fields
