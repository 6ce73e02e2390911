// Names typed at the console and the column file's name made from the input name.
#ifndef QUILLET_DRIVER_OUTPUT_NAME_H_
#define QUILLET_DRIVER_OUTPUT_NAME_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet::driver {

// The input name and the output name are 40-character texts, padded with blanks.
inline constexpr std::size_t kAnswerLength = 40;
// Only the first 20 characters of the input name make the stem of the output name.
inline constexpr std::size_t kStemScan = 20;

// The column file's name: the input name up to its first "." or blank among its first 20
// characters, then "_COL", padded to 40. Path separators are ordinary characters, so
// "data/x.crn" gives "data/x_COL" and "../data/x.crn" gives "_COL".
std::string derive_output_name(std::string_view input_name);

// The name as the file layer takes it: without leading and trailing blanks.
std::string trim_blanks(std::string_view name);

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_OUTPUT_NAME_H_
