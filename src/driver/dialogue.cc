#include "driver/dialogue.h"

#include "fields/field_writer.h"
#include "table/series_table.h"

namespace quillet::driver {

using fields::plain_line;

namespace {
const std::string kRule(48, '_');
}  // namespace

std::vector<std::string> banner_lines() {
  std::string series_length = "   Max.Series length = ";
  fields::put_integer(series_length, table::kMaxValues, 5);
  std::string series_number = "   Max.Number of Series  = ";
  fields::put_integer(series_number, table::kMaxSeries, 5);
  return {
      plain_line(kRule),
      plain_line("Quillet_v7 "),
      plain_line(" This program converts MORVEN and BILTOSE"),
      plain_line(" output files to column format for plotting"),
      plain_line(" NOTE: The order of columns in the output "),
      plain_line(" file follows the order of records in the "),
      plain_line(" input file.  qvx-QM-WRAX"),
      plain_line(" "),
      " Maximum Dimensions are:",
      series_length,
      series_number,
      "",
      " Last modified 11/2012 -qvx",
      "",
      plain_line(kRule),
  };
}

std::string name_prompt() { return "  Enter INPUT file name       => "; }

std::string file_type_prompt() { return "  Enter File Type => "; }

std::vector<std::string> not_found_notice(std::string_view input_name) {
  std::string name = " ";
  fields::put_text(name, input_name, 40);
  return {
      "",
      " *********** File Not Found ************",
      name,
      " 1234567890123456789012345678901234567890",
      " " + std::string(41, '*'),
      "",
  };
}

std::string pause_line() {
  return plain_line(" Hit return to enter a new file name or / exit program.");
}

std::vector<std::string> file_type_menu() {
  return {
      plain_line(" "),
      plain_line(" SELECT FILE TYPE "),
      plain_line(" "),
      plain_line(" 1 = MORVEN.CRONOL"),
      plain_line(" 2 = MORVEN.INDEX "),
      plain_line(" 3 = MORVEN.CURVES "),
      plain_line(" 4 = MORVEN.RESIDUALS "),
      plain_line(" 5 = MORVEN.WEIGHTS "),
      plain_line(" 6 = BILTOSE.MASTER"),
      plain_line(" "),
  };
}

std::vector<std::string> opening_report(std::string_view input_name, std::string_view output_name) {
  std::string input_line = "  1 ";
  fields::put_text(input_line, input_name, 20);
  std::string output_line = "  2 ";
  fields::put_text(output_line, output_name, 20);
  return {
      plain_line(" "),
      plain_line(" Opening files ============|"),
      input_line,
      output_line,
      "",
      plain_line(" ==========================|"),
      plain_line(" "),
  };
}

std::string closing_line() { return plain_line(" Normal Termination of Program Quillet"); }

}  // namespace quillet::driver
