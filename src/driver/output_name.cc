#include "driver/output_name.h"

#include <algorithm>

namespace quillet::driver {

std::string derive_output_name(std::string_view input_name) {
  const std::string_view scanned = input_name.substr(0, std::min(kStemScan, input_name.size()));
  const std::size_t stem_end = scanned.find_first_of(". ");
  std::string output(scanned.substr(0, stem_end));
  output.append("_COL");
  output.resize(kAnswerLength, ' ');
  return output;
}

std::string trim_blanks(std::string_view name) {
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = name.find_last_not_of(' ');
  return std::string(name.substr(first, last - first + 1));
}

}  // namespace quillet::driver
