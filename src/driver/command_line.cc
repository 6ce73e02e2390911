#include "driver/command_line.h"

#include "quillet/convert.h"

namespace quillet::driver {
namespace {

std::optional<int> parse_type(std::string_view text, bool& automatic) {
  automatic = text == "auto";
  if (automatic) return std::nullopt;
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return text[0] - '0';
  return std::nullopt;
}

}  // namespace

std::variant<Options, UsageError> parse_command_line(const std::vector<std::string>& arguments) {
  Options options;
  bool options_end = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_end || argument == "-" || argument.empty() || argument[0] != '-') {
      options.files.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options_end = true;
      continue;
    }
    // An option that takes a value: "--name=VALUE", "--name VALUE", "-x VALUE" or "-xVALUE".
    const auto value_of = [&](std::string_view short_name,
                              std::string_view long_name) -> std::optional<std::string> {
      const std::string with_equals = std::string(long_name) + "=";
      if (argument.starts_with(with_equals)) return argument.substr(with_equals.size());
      if (argument == long_name || (!short_name.empty() && argument == short_name)) {
        if (i + 1 == arguments.size()) return std::nullopt;
        return arguments[++i];
      }
      if (!short_name.empty() && argument.starts_with(short_name)) {
        return argument.substr(short_name.size());
      }
      return std::nullopt;
    };
    const auto names = [&](std::string_view short_name, std::string_view long_name) {
      return argument == long_name || argument.starts_with(std::string(long_name) + "=") ||
             (!short_name.empty() && argument.starts_with(short_name));
    };

    if (argument == "--long") {
      options.long_table = true;
    } else if (argument == "--strict") {
      options.strict = true;
    } else if (argument == "-q" || argument == "--quiet") {
      options.quiet = true;
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (names("-t", "--type")) {
      const std::optional<std::string> value = value_of("-t", "--type");
      if (!value) return UsageError{"option " + argument + " needs a file type (auto or 0-9)"};
      bool automatic = false;
      options.file_type = parse_type(*value, automatic);
      if (!automatic && !options.file_type) {
        return UsageError{"bad file type '" + *value + "': auto or one digit 0-9"};
      }
    } else if (names("-o", "--output-dir")) {
      const std::optional<std::string> value = value_of("-o", "--output-dir");
      if (!value || value->empty()) return UsageError{"option " + argument + " needs a folder"};
      options.output_dir = *value;
    } else if (names("", "--missing")) {
      const std::optional<std::string> value = value_of("", "--missing");
      if (!value) return UsageError{"option " + argument + " needs a text"};
      options.missing = *value;
    } else {
      return UsageError{"unknown option '" + argument + "'"};
    }
  }
  if (options.help || options.version) return options;
  if (options.files.empty()) return UsageError{"no FILE given"};
  if (options.long_table && (options.output_dir || options.missing)) {
    return UsageError{"--long writes no column files: it takes neither --output-dir nor --missing"};
  }
  return options;
}

std::string usage_text() {
  return "Usage: quillet [OPTIONS] FILE...\n"
         "Converts MORVEN and BILTOSE output files (decade lines) to column tables for plotting.\n"
         "For each FILE it writes a TAB-separated table beside it, named after it without its\n"
         "last extension and with _COL appended (oak.early.crn gives oak.early_COL); the table\n"
         "replaces an older one of that name only once it is complete. Without arguments,\n"
         "quillet asks for one file and its type at the console.\n"
         "\n"
         "Options:\n"
         "  -t, --type TYPE        auto (the default): the file type is found for each file;\n"
         "                         or one digit, as in the menu: 1 MORVEN.CRONOL (3 header\n"
         "                         lines in front of each series), 2-5 MORVEN.INDEX, CURVES,\n"
         "                         RESIDUALS, WEIGHTS (3 at the top of the file),\n"
         "                         6 BILTOSE.MASTER (1 in front of each series), 0 (none)\n"
         "  -o, --output-dir DIR   write the column files into DIR, an existing folder\n"
         "      --missing TEXT     TEXT instead of 0.000 in the years before a series' first\n"
         "                         year and after its last (--missing NA for R and pandas)\n"
         "      --long             instead of column files, one long table of every FILE on\n"
         "                         standard output: file, series_number, series, year, value\n"
         "                         and count (every series with its own counts)\n"
         "      --strict           the decade-line rules alone, without the conventions of the\n"
         "                         data bank's files\n"
         "  -q, --quiet            no summary line per file\n"
         "  -h, --help             this text\n"
         "      --version          the version\n"
         "\n"
         "A FILE of - is standard input; its table goes to standard output. Summary lines go to\n"
         "standard output (to standard error when a FILE is -), warnings and errors to standard\n"
         "error as FILE:LINE: warning: ... and FILE:LINE: error: ...\n"
         "\n"
         "Exit status: 0 when every FILE was converted, 1 when some FILE was not (the others\n"
         "are), 2 for a mistake on the command line (nothing is converted).\n";
}

std::string version_line() { return "quillet " + version(); }

}  // namespace quillet::driver
