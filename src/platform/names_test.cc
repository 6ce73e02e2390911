#include "platform/names.h"

#include <gtest/gtest.h>

#include "platform/console_window.h"

namespace quillet::platform {
namespace {

TEST(Names, WhatCountsAsUtf8) {
  for (const char* utf8 : {"", "ring01.crn",
                           "donn\xc3\xa9"
                           "es.crn",
                           "M\xc3\xbcller.crn", "\xe2\x82\xac.crn", "\xf0\x9f\x8c\xb2.crn"}) {
    EXPECT_TRUE(is_utf8(utf8)) << utf8;
  }
  // Bytes of a single-byte code page, cut sequences, overlong forms and surrogates are not.
  for (const char* other : {"donn\xe9"
                            "es.crn",
                            "donn\x82"
                            "es.crn",
                            "\xc3", "\xe2\x82", "\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80",
                            "\xf4\x90\x80\x80", "\xff"}) {
    EXPECT_FALSE(is_utf8(other)) << other;
  }
}

TEST(ConsoleWindow, HeldOnlyWhenAloneOnItAndNotQuit) {
  EXPECT_TRUE(hold_window_at_end(1, false));   // double-clicked: the window is the program's
  EXPECT_FALSE(hold_window_at_end(1, true));   // "/" closes it at once
  EXPECT_FALSE(hold_window_at_end(2, false));  // started from cmd: cmd keeps the window
  EXPECT_FALSE(hold_window_at_end(0, false));  // no console at all (piped, or not Windows)
}

}  // namespace
}  // namespace quillet::platform
