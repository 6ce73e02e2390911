#include "driver/command_line.h"

#include <gtest/gtest.h>

namespace quillet::driver {
namespace {

using Args = std::vector<std::string>;

Options parsed(const Args& arguments) {
  const auto result = parse_command_line(arguments);
  EXPECT_TRUE(std::holds_alternative<Options>(result)) << std::get<UsageError>(result).message;
  return std::holds_alternative<Options>(result) ? std::get<Options>(result) : Options{};
}

TEST(CommandLine, OptionsStandAnywhereBeforeTheEndOfOptions) {
  Options o = parsed({"a.crn", "-t", "6", "b.crn", "--output-dir=out", "-q", "--missing", "NA"});
  EXPECT_EQ(o.files, (Args{"a.crn", "b.crn"}));
  EXPECT_EQ(o.file_type, 6);
  EXPECT_EQ(o.output_dir, "out");
  EXPECT_EQ(o.missing, "NA");
  EXPECT_TRUE(o.quiet);

  o = parsed({"--type=auto", "-o", "dir", "--missing=", "--", "-q", "-", "--type=1"});
  EXPECT_EQ(o.file_type, std::nullopt);
  EXPECT_EQ(o.output_dir, "dir");
  EXPECT_EQ(o.missing, "");  // an empty text is a text
  EXPECT_EQ(o.files, (Args{"-q", "-", "--type=1"}));
  EXPECT_FALSE(o.quiet);

  EXPECT_EQ(parsed({"--type", "0", "x"}).file_type, 0);
  EXPECT_EQ(parsed({"-t9", "x"}).file_type, 9);
  EXPECT_EQ(parsed({"-"}).files, Args{"-"});
  EXPECT_TRUE(parsed({"-h"}).help);
  EXPECT_TRUE(parsed({"--version"}).version);
}

TEST(CommandLine, MistakesAreNamed) {
  const struct {
    Args arguments;
    const char* message;
  } cases[] = {
      {{}, "no FILE given"},
      {{"-q"}, "no FILE given"},
      {{"-x", "a"}, "unknown option '-x'"},
      {{"--types=1", "a"}, "unknown option '--types=1'"},
      {{"-t", "12", "a"}, "bad file type '12': auto or one digit 0-9"},
      {{"--type=x", "a"}, "bad file type 'x': auto or one digit 0-9"},
      {{"a", "-t"}, "option -t needs a file type (auto or 0-9)"},
      {{"a", "--output-dir"}, "option --output-dir needs a folder"},
      {{"a", "--missing"}, "option --missing needs a text"},
  };
  for (const auto& c : cases) {
    const auto result = parse_command_line(c.arguments);
    ASSERT_TRUE(std::holds_alternative<UsageError>(result)) << c.message;
    EXPECT_EQ(std::get<UsageError>(result).message, c.message);
  }
}

}  // namespace
}  // namespace quillet::driver
