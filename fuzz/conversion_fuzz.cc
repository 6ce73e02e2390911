// Fuzz target for a whole conversion: the input is an input file, converted through the same
// code the program runs, with an in-memory console and real files in a scratch folder. The
// first byte picks the file type (0, 1, 2 or 6) and the tab size; the rest is the file. Besides
// crashes, sanitizer reports and leaks it checks that every run ends with status 0 or -1, and that
// a run that ends with 0 leaves a column file that begins with its header line.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "driver/run_driver.h"
#include "testing/fake_console.h"

namespace {

using namespace quillet;

std::filesystem::path& scratch() {
  static std::filesystem::path path;
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch() = std::filesystem::temp_directory_path() /
              ("quillet-fuzz-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(scratch());
  std::filesystem::current_path(scratch());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  {
    std::ofstream input("in.crn", std::ios::binary | std::ios::trunc);
    input.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  static constexpr const char* kTypes[] = {"0", "1", "2", "6"};
  const char* type = kTypes[data[0] % 4];
  const int tab_size = data[0] / 4 % 10;
  std::filesystem::remove("in_COL");
  testing::FakeConsole console(std::string("in.crn\n") + type + "\n");
  platform::FileSystem* files = &platform::real_file_system();
  const int status = driver::run_once(console, *files, tab_size == 0 ? 8 : tab_size).status;
  if (status != 0 && status != -1) std::abort();
  if (status == 0) {
    std::ifstream column("in_COL", std::ios::binary);
    std::string header(7, '\0');
    column.read(header.data(), 7);
    if (header != " Year\tN") std::abort();
  }
  return 0;
}
