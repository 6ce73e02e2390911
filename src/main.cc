// Quillet: converts MORVEN and BILTOSE output files to a column table for plotting.
#include <cstdio>
#include <cstdlib>

#include "driver/run_driver.h"
#include "fields/tab_size.h"
#include "platform/console.h"
#include "platform/console_window.h"
#include "platform/files.h"

int main() {
  using namespace quillet;
  platform::open_closed_standard_streams();
  driver::RunEnd end{driver::kExitFailure, false};
  try {
    const auto streams = platform::make_standard_streams();
    const auto files = platform::make_real_file_system();
    end = driver::run_once(*streams, *files, fields::tab_size_from(std::getenv("TABSIZE")));
  } catch (...) {
    // Only the few bytes of the console and file objects can fail here, for want of memory.
    std::fputs("? Run-time Error:\n? Not enough memory\n? READ(UNIT=14,...\n", stderr);
  }
  platform::end_console_window(end.quit_by_slash);
  return end.status;
}
