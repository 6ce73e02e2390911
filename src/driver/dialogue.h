// The fixed texts of the dialogue, each line as it appears on the console. Plain console
// lines are one blank followed by their text, so " SELECT FILE TYPE " shows with two
// leading blanks.
#ifndef QUILLET_DRIVER_DIALOGUE_H_
#define QUILLET_DRIVER_DIALOGUE_H_

#include <string>
#include <string_view>
#include <vector>

#include "reading/series_reader.h"

namespace quillet::driver {

std::vector<std::string> banner_lines();
// The prompts, without their line end: the cursor stands behind them.
std::string name_prompt();
std::string file_type_prompt();
// The not-found notice for the 40-character input name, with the ruler under its columns.
std::vector<std::string> not_found_notice(std::string_view input_name);
std::string pause_line();
std::vector<std::string> file_type_menu();
// Both names are shown in 20 columns.
std::vector<std::string> opening_report(std::string_view input_name, std::string_view output_name);
std::string closing_line();

// What the dialogue says of what a conversion meets. Standard output:
//   a series read   " Reading in series    s", the name with its years and label, ""
//   a stop          the reason and " Program terminating " (plain console lines)
// The error stream, one line each: the place of a read error, a header line that reads as
// data, a series run into the next, a series the input cut off, and no series at all.
std::vector<std::string> series_report(int s, const reading::SeriesResult& series);
std::vector<std::string> stop_lines(std::string_view reason);
inline constexpr std::string_view kErrorReadingData = " Error reading data ";
std::string read_error_place(const reading::ReadErrorPlace& error);
std::string header_line_data_warning(const reading::HeaderLineData& data);
std::string run_into_warning(const reading::RunInto& run_into);
std::string cut_off_warning(int s);
std::string no_series_warning();
// The texts of those two warnings without " Warning: ", which the command line says too.
std::string cut_off_text(int s);
std::string no_series_text();

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_DIALOGUE_H_
