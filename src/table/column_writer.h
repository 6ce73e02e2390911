// The column file: a header line, then one line per year of the year table.
//
//   header:  " Year" TAB "N" then, per series, TAB and its 8-character name (untrimmed)
//   data:    year in 4 columns, TAB, N in 4 columns, then per series TAB and its value in
//            6 columns with 3 decimals
//
// Fields are separated, not ended: there is no TAB at the end of a line. Every line, the last
// one too, ends with the platform's line end, and every line is built and written whole.
#ifndef QUILLET_TABLE_COLUMN_WRITER_H_
#define QUILLET_TABLE_COLUMN_WRITER_H_

#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "table/series_table.h"
#include "table/year_table.h"

namespace quillet::table {

void build_header_line(const SeriesTable& series, char separator, std::string& line);
// The length of a data line for n series, without its line end.
std::size_t data_line_length(int series_count);
// The most a year written as wide as needed adds to a line (a sign and up to 10 digits).
inline constexpr std::size_t kWideYearExtra = 7;
// Builds data line r at `out` cell by cell through the field rules (with `missing`, the text
// in the cells outside each series' years) and returns its end. `out` has room for the line.
// With `wide_years` a year too wide for 4 columns is written as wide as needed (-5141) instead
// of as 4 asterisks.
char* build_data_line(const YearTable& years, int r, int series_count, char separator,
                      std::optional<std::string_view> missing, char* out, bool wide_years = false);
// Builds `rows` whole data lines from row `first_row` on, each ended by `line_end`, at `block`
// (room for rows x (data_line_length + line end)): the lines build_data_line gives, written
// series by series from the places the table keeps together.
void write_block(const YearTable& years, int first_row, int rows, char separator,
                 std::string_view line_end, char* block);

// Writes the whole column file. With `missing`, a cell of a year before a series' first
// year or after its last year holds that text, as it stands, instead of 0.000. With
// `wide_years`, years too wide for 4 columns are written as wide as needed.
void write_column_file(platform::OutputFile& out, const SeriesTable& series, const YearTable& years,
                       char separator, std::string_view line_end,
                       std::optional<std::string_view> missing = std::nullopt,
                       bool wide_years = false);

}  // namespace quillet::table

#endif  // QUILLET_TABLE_COLUMN_WRITER_H_
