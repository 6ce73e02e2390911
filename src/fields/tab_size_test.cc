#include "fields/tab_size.h"

#include <gtest/gtest.h>

namespace quillet::fields {
namespace {

TEST(TabSize, TakesWholeNumbersUpToAThousandAndOtherwiseEight) {
  const struct {
    const char* value;
    int size;
  } cases[] = {{"4", 4},
               {"0", 0},
               {"1000", 1000},
               {"1001", 8},
               {"", 8},
               {"-1", 8},
               {"abc", 8},
               {"4x", 8},
               {" 4", 8},
               {"007", 7},
               {"99999999999999999999", 8}};
  for (const auto& c : cases) EXPECT_EQ(tab_size_from(c.value), c.size) << "[" << c.value << "]";
  EXPECT_EQ(tab_size_from(nullptr), 8);
}

}  // namespace
}  // namespace quillet::fields
