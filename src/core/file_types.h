// The file types: the menu's answers 0-9 and what each means for the header lines. All of
// them share the decade line; they differ only in the lines in front of the data.
//
//   1 MORVEN.CRONOL    3 header lines in front of every series
//   2 MORVEN.INDEX     3 header lines at the top of the file
//   3 MORVEN.CURVES    the same
//   4 MORVEN.RESIDUALS the same
//   5 MORVEN.WEIGHTS   the same
//   6 BILTOSE.MASTER   1 header line in front of every series
//   0, 7, 8, 9         not offered, accepted: no header lines at all
#ifndef QUILLET_CORE_FILE_TYPES_H_
#define QUILLET_CORE_FILE_TYPES_H_

#include <array>
#include <span>
#include <string_view>

namespace quillet::core {

struct FileType {
  int number;                   // the menu's answer
  int file_header_lines;        // passed over at the top of the file
  int header_lines_per_series;  // passed over in front of every series
  std::string_view menu_name;   // as the menu shows it (some end with a blank); empty: not offered
};

inline constexpr int kFileTypes = 10;

// The file type of an answer 0-9.
const FileType& file_type(int number);

// The types the menu offers, in its order.
std::span<const FileType> offered_file_types();

// The order in which the layouts are tried when the file type is to be found: three header
// lines in front of every series, one, three at the top of the file, none. Types 3-5 read as
// 2 does and 7-9 as 0 does, so these four are every layout there is.
inline constexpr std::array<int, 4> kLayoutsToTry = {1, 6, 2, 0};

}  // namespace quillet::core

#endif  // QUILLET_CORE_FILE_TYPES_H_
