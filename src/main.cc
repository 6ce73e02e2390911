// Quillet: converts MORVEN and BILTOSE output files to a column table for plotting.
#include <cstdlib>

#include "driver/run_driver.h"
#include "fields/tab_size.h"
#include "platform/console.h"
#include "platform/console_window.h"
#include "platform/files.h"

int main() {
  using namespace quillet;
  platform::open_closed_standard_streams();
  // run_once catches every failure, running out of memory included: nothing escapes here.
  const driver::RunEnd end =
      driver::run_once(platform::standard_streams(), platform::real_file_system(),
                       fields::tab_size_from(std::getenv("TABSIZE")));
  platform::end_console_window(end.quit_by_slash);
  return end.status;
}
