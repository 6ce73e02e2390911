// Quillet: converts MORVEN and BILTOSE output files to a column table for plotting. Without
// arguments it runs the dialogue; with arguments, the command line.
#include <cstdlib>

#include "driver/batch.h"
#include "driver/run_driver.h"
#include "fields/tab_size.h"
#include "platform/arguments.h"
#include "platform/console.h"
#include "platform/console_window.h"
#include "platform/files.h"
#include "platform/signals.h"

int main(int argc, char** argv) {
  using namespace quillet;
  platform::open_closed_standard_streams();
  const int tab_size = fields::tab_size_from(std::getenv("TABSIZE"));
  const std::vector<std::string> arguments = platform::command_line_arguments(argc, argv);
  if (!arguments.empty()) {
    // A column file being written when the program is stopped is removed (the dialogue writes
    // in place, and has nothing of its own to remove).
    const int status = driver::run_command_line(
        arguments, platform::standard_streams(),
        platform::cleaning_file_system(platform::real_file_system()), tab_size);
    platform::end_console_window(false);  // files dropped onto the program: its own window
    return status;
  }
  // run_once catches every failure, running out of memory included: nothing escapes here.
  const driver::RunEnd end =
      driver::run_once(platform::standard_streams(), platform::real_file_system(), tab_size);
  platform::end_console_window(end.quit_by_slash);
  return end.status;
}
