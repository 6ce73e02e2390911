#include "driver/dialogue.h"

#include "core/file_types.h"
#include "fields/field_writer.h"
#include "quillet/messages.h"
#include "table/limits.h"
#include "table/series_table.h"

namespace quillet::driver {

namespace {
const std::string kRule(48, '_');
}  // namespace

std::string plain_line(std::string_view text) {
  std::string line(" ");
  line.append(text);
  return line;
}

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
  for (const core::FileType& type : core::offered_file_types()) {
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

std::string read_error_place(const Diagnostic& error) {
  return " Error reading data in line " + std::to_string(error.line) + ", columns " +
         std::to_string(error.first_column) + "-" + std::to_string(error.last_column) + ": \"" +
         error.text + "\"";
}

std::string warning_line(const Diagnostic& warning) {
  const std::string line = "line " + std::to_string(warning.line);
  switch (warning.kind) {
    case DiagnosticKind::kHeaderLineData:
      return " Warning: " + line + " looks like data (series " + warning.name +
             ") but is passed over as a header line; is the file type right?";
    case DiagnosticKind::kRunInto:
      return " Warning: " + line + " (" + warning.name + ") is read as part of series " +
             std::to_string(warning.series) + " (" + warning.series_name +
             "); is its end marker missing?";
    default:
      // The texts without a line or a name from the input are the command line's.
      return " Warning: " + diagnostic_text(warning);
  }
}

std::string no_series_warning() {
  Diagnostic no_series;
  no_series.kind = DiagnosticKind::kNoSeries;
  no_series.severity = Severity::kWarning;
  return warning_line(no_series);
}

std::array<std::string, 4> year_range_report(std::string_view output_name,
                                             const table::YearRange& range) {
  std::string target = " writing reformatted data to outfile ";
  target.append(output_name);
  std::string numbers = " minyr= ";
  fields::put_integer(numbers, range.minyr, 5);
  numbers.append(" maxage= ");
  fields::put_integer(numbers, range.maxage, 5);
  return {"", std::move(target), std::move(numbers), ""};
}

std::string limit_message(table::Limit limit) {
  std::string message;
  switch (limit) {
    case table::Limit::kSeries:
      message = " Too many series: the limit is ";
      message += std::to_string(table::kMaxSeries);
      break;
    case table::Limit::kValues:
      message = " Series too long: the limit is ";
      message += std::to_string(table::kMaxValues);
      message += " values";
      break;
    case table::Limit::kYears:
      message = " Year range too long: the limit is ";
      message += std::to_string(table::kMaxYears);
      message += " years";
      break;
  }
  return message;
}

}  // namespace quillet::driver
