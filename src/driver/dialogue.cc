#include "driver/dialogue.h"

#include "driver/file_types.h"
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
  std::vector<std::string> menu = {plain_line(" "), plain_line(" SELECT FILE TYPE "),
                                   plain_line(" ")};
  for (const FileType& type : offered_file_types()) {
    menu.push_back(
        plain_line(" " + std::to_string(type.number) + " = " + std::string(type.menu_name)));
  }
  menu.push_back(plain_line(" "));
  return menu;
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

std::vector<std::string> series_report(int s, const reading::SeriesResult& series) {
  std::string heading = " Reading in series ";
  fields::put_integer(heading, s, 4);
  std::string years = " ";
  years.append(series.name);
  years.push_back(' ');
  fields::put_integer(years, series.first_year, 5);
  years.push_back(' ');
  fields::put_integer(years, series.last_year, 5);
  years.append("  ");
  years.append(series.label);
  return {std::move(heading), std::move(years), ""};
}

std::vector<std::string> stop_lines(std::string_view reason) {
  return {plain_line(reason), plain_line(" Program terminating ")};
}

std::string read_error_place(const reading::ReadErrorPlace& error) {
  return " Error reading data in line " + std::to_string(error.line) + ", columns " +
         std::to_string(error.first_column) + "-" + std::to_string(error.last_column) + ": \"" +
         error.text + "\"";
}

std::string header_line_data_warning(const reading::HeaderLineData& data) {
  return " Warning: line " + std::to_string(data.line) + " looks like data (series " + data.name +
         ") but is passed over as a header line; is the file type right?";
}

std::string run_into_warning(const reading::RunInto& run_into) {
  return " Warning: line " + std::to_string(run_into.line) + " (" + run_into.name +
         ") is read as part of series " + std::to_string(run_into.series) + " (" +
         run_into.series_name + "); is its end marker missing?";
}

std::string cut_off_text(int s) {
  return "the input ends inside series " + std::to_string(s) +
         ", before its end marker; that series is not converted";
}

std::string no_series_text() {
  return "no series was read from the input; the column file holds only its header line";
}

std::string cut_off_warning(int s) { return " Warning: " + cut_off_text(s); }

std::string no_series_warning() { return " Warning: " + no_series_text(); }

}  // namespace quillet::driver
