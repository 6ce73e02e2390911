// The Windows build's name conversions, run under wine (or on Windows) by CI: the unit tests
// of the other builds cannot reach them. Prints one line per failed check; exit status 1 if any.
#include <cstdio>
#include <string>

#include "platform/names.h"

namespace {

int failures = 0;

void check(bool ok, const char* what) {
  if (!ok) {
    std::printf("failed: %s\n", what);
    ++failures;
  }
}

}  // namespace

int main() {
  using quillet::platform::to_utf8;
  using quillet::platform::to_wide;
  // UTF-8 is taken as UTF-8 whatever the code page.
  check(to_wide("donn\xc3\xa9"
                "es.crn",
                850) == L"donn\u00e9es.crn",
        "UTF-8 with code page 850");
  check(to_wide("donn\xc3\xa9"
                "es.crn",
                1252) == L"donn\u00e9es.crn",
        "UTF-8 with code page 1252");
  // Other bytes in the code page given: the ANSI code page of a Western system, and the OEM
  // code page of its console (cmd's echo into a batch file's answers).
  check(to_wide("donn\xe9"
                "es.crn",
                1252) == L"donn\u00e9es.crn",
        "\\xe9 in code page 1252");
  check(to_wide("donn\x82"
                "es.crn",
                850) == L"donn\u00e9es.crn",
        "\\x82 in code page 850");
  check(to_wide("M\x81ller.crn", 437) == L"M\u00fcller.crn", "\\x81 in code page 437");
  check(to_wide("ring01.crn", 437) == L"ring01.crn", "ASCII");
  check(to_wide("", 1252).empty(), "an empty name");
  // What a console window hands out in UTF-16 becomes UTF-8 bytes.
  check(to_utf8(L"M\u00fcller.crn") == "M\xc3\xbcller.crn", "UTF-16 to UTF-8");
  check(to_utf8(L"\U0001F332") == "\xf0\x9f\x8c\xb2", "a surrogate pair to UTF-8");
  if (failures == 0) std::printf("Windows name conversions: ok\n");
  return failures == 0 ? 0 : 1;
}
