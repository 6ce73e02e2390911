// The fixed texts of the dialogue, each line as it appears on the console. Plain console
// lines are one blank followed by their text, so " SELECT FILE TYPE " shows with two
// leading blanks.
#ifndef QUILLET_DRIVER_DIALOGUE_H_
#define QUILLET_DRIVER_DIALOGUE_H_

#include <string>
#include <string_view>
#include <vector>

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

}  // namespace quillet::driver

#endif  // QUILLET_DRIVER_DIALOGUE_H_
