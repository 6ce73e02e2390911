// Writing a reading's column file: a header line (" Year", "N", each series' 8-character
// name), then one line per year, the year and N in 4 columns and each value in 6 columns with
// 3 decimals, TAB between fields, each line ended by the platform's line end (CR LF on
// Windows, LF elsewhere). The bytes are those of the program's own column file.
#ifndef INCLUDE_QUILLET_COLUMN_FILE_H_
#define INCLUDE_QUILLET_COLUMN_FILE_H_

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "quillet/reader.h"

namespace quillet {

struct WriteOptions {
  // The text of the cells before a series' first year and after its last (instead of 0.000).
  // It may not hold a TAB, CR or LF (std::invalid_argument).
  std::optional<std::string> missing;
};

// The column file's name for `file`: its base name without its last extension (from its last
// "." on, unless that "." begins the base name), then "_COL", in the file's folder or in
// `folder`. "data/oak.early.crn" gives "data/oak.early_COL".
std::string column_file_name(std::string_view file,
                             const std::optional<std::string>& folder = std::nullopt);

// Writes the column file of a converted reading to `path`, whole or not at all: the bytes go
// to a new file in the same folder, which is put in the place of `path` only when complete
// (an older file of that name keeps its permission bits; a failure leaves it as it was).
// Throws quillet::Error, or std::invalid_argument for a reading that was not converted.
void write_column_file(const Reading& reading, const std::string& path,
                       const WriteOptions& options = {});
// The same bytes to a stream (which should be in binary mode); a failure of the stream
// throws quillet::Error (kWrite, path "<stream>").
void write_column_file(const Reading& reading, std::ostream& out, const WriteOptions& options = {});

}  // namespace quillet

#endif  // INCLUDE_QUILLET_COLUMN_FILE_H_
