// Quillet: converts MORVEN and BILTOSE output files to a column table for plotting.
#include <cstdlib>
#include <new>

#include "driver/run_driver.h"
#include "fields/tab_size.h"
#include "platform/console.h"
#include "platform/files.h"

int main() {
  using namespace quillet;
  platform::open_closed_standard_streams();
  const auto streams = platform::make_standard_streams();
  const auto files = platform::make_real_file_system();
  return driver::run(*streams, *files, fields::tab_size_from(std::getenv("TABSIZE")));
}
