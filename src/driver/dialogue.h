// The fixed texts of the dialogue, each line as it appears on the console. Plain console
// lines are one blank followed by their text, so " SELECT FILE TYPE " shows with two
// leading blanks.
#ifndef QUILLET_DRIVER_DIALOGUE_H_
#define QUILLET_DRIVER_DIALOGUE_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "quillet/diagnostic.h"
#include "reading/series_reader.h"
#include "table/limits.h"
#include "table/year_table.h"

namespace quillet::driver {

// A plain console line: one blank, then the text as it stands.
std::string plain_line(std::string_view text);

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

// The four console lines that report the year range: an empty line, the output name in its
// full 40-character field, "minyr= ..." and an empty line.
std::array<std::string, 4> year_range_report(std::string_view output_name,
                                             const table::YearRange& range);
// The text (a plain console line's) that says which limit was passed:
// " Too many series: the limit is 1500" and so on.
std::string limit_message(table::Limit limit);

// What the dialogue says of what a conversion meets. Standard output:
//   a series read   " Reading in series    s", the name with its years and label, ""
//   a stop          the reason and " Program terminating " (plain console lines)
// The error stream, one line each: the place of a read error, and the warnings.
std::vector<std::string> series_report(int s, const reading::SeriesResult& series);
std::vector<std::string> stop_lines(std::string_view reason);
inline constexpr std::string_view kErrorReadingData = " Error reading data ";
std::string read_error_place(const Diagnostic& error);
// A warning met by the reading: a header line that reads as data, a series run into the next,
// a series the input cut off, and no series at all.
std::string warning_line(const Diagnostic& warning);
std::string no_series_warning();

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_DIALOGUE_H_
