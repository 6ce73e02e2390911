#include "platform/arguments.h"

#include <gtest/gtest.h>

namespace quillet::platform {
namespace {

using Wide = std::vector<std::wstring>;

TEST(SplitCommandLine, AsTheWindowsRuntimeSplitsIt) {
  EXPECT_EQ(split_command_line(L"quillet.exe -q *.crn"), (Wide{L"quillet.exe", L"-q", L"*.crn"}));
  EXPECT_EQ(split_command_line(L"\"C:\\Program Files\\quillet.exe\"  \"my file.crn\"\t x"),
            (Wide{L"C:\\Program Files\\quillet.exe", L"my file.crn", L"x"}));
  EXPECT_EQ(split_command_line(L"q a\\\\\\\"b c\\\\\"d e\" f\\g \"\"\"\" \"\""),
            (Wide{L"q", L"a\\\"b", L"c\\d e", L"f\\g", L"\"", L""}));
  EXPECT_EQ(split_command_line(L"q \u5e74\u8f2a.crn"), (Wide{L"q", L"\u5e74\u8f2a.crn"}));
  EXPECT_EQ(split_command_line(L"q"), Wide{L"q"});
}

}  // namespace
}  // namespace quillet::platform
