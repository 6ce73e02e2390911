#include "testing/fake_console.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/system_failure.h"

namespace quillet::testing {

void FakeConsole::write_out(std::string_view bytes) {
  if (fail_output_) {
    throw platform::SystemFailure(platform::Operation::kWrite, "No space left on device");
  }
  out_.append(bytes);
}

ScratchDir::ScratchDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          ("quillet-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void ScratchDir::write(std::string_view name, std::string_view content) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string ScratchDir::read(std::string_view name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace quillet::testing
