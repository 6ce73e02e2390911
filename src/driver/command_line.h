// The command line: quillet [OPTIONS] FILE...
//
//   -t TYPE, --type TYPE, --type=TYPE          auto (the default) or one digit 0-9, as in the menu
//   -o DIR, --output-dir DIR, --output-dir=DIR the folder that receives the column files
//   --missing TEXT, --missing=TEXT             the cells outside a series' years hold TEXT
//   --long                                     one long table of every FILE on standard output
//   --strict                                   the decade-line rules alone, no data-bank
//   conventions -q, --quiet                                no summary lines -h, --help the usage
//   --version                                  the version
//
// Options stand anywhere before "--"; everything after it is a FILE. "-" is standard input.
#ifndef QUILLET_DRIVER_COMMAND_LINE_H_
#define QUILLET_DRIVER_COMMAND_LINE_H_

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quillet::driver {

struct Options {
  std::optional<int> file_type;  // nullopt: found for each file
  std::optional<std::string> output_dir;
  std::optional<std::string> missing;
  bool long_table = false;
  bool strict = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
  std::vector<std::string> files;
};

// A mistake on the command line, worded for the user (one line, without the program's name).
struct UsageError {
  std::string message;
};

// The arguments after the program's name.
std::variant<Options, UsageError> parse_command_line(const std::vector<std::string>& arguments);

// The text of --help, lines ended by "\n".
std::string usage_text();
// The line of --version, without its line end.
std::string version_line();

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_COMMAND_LINE_H_
