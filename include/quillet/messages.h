// The command line's wording, for every program that reports as the command line does (the
// Python and R packages among them): one line per diagnostic in the form compilers use,
//   FILE:LINE: warning: TEXT      FILE: warning: TEXT      FILE:LINE: error: TEXT
// a summary line per converted file, and the long table. FILE and the texts taken from the
// input are escaped: a control byte is written as \0, \t, \n, \r or \xHH and a backslash as
// itself, so that a message is always one line.
#ifndef INCLUDE_QUILLET_MESSAGES_H_
#define INCLUDE_QUILLET_MESSAGES_H_

#include <string>
#include <string_view>
#include <vector>

#include "quillet/diagnostic.h"
#include "quillet/reader.h"

namespace quillet {

// A name or text with its control bytes escaped.
std::string escape(std::string_view text);

// What the diagnostic says, without FILE, line or kind: "data cannot be read in columns
// 11-14: \" 1x0\"". Under automatic layout an error starts with "as file type T: ".
std::string diagnostic_text(const Diagnostic& diagnostic);

// "FILE:LINE: warning: TEXT" (no line end).
std::string message_line(std::string_view file, const Diagnostic& diagnostic);

// "FILE: error: cannot open PATH: REASON": the command line's line for a failure of the
// system while FILE was converted (cannot open, read, create or write a file, or put a column
// file in place).
std::string error_line(std::string_view file, const Error& error);

// Every line the command line writes to standard error for a reading, in order.
std::vector<std::string> message_lines(std::string_view file, const Reading& reading);

// The summary line of a converted reading written to COLUMN_FILE:
// "FILE -> COLUMN_FILE: 2 series, 1850-1879, file type 1" and, behind it, the conventions the
// reading needed (", long years").
std::string summary_line(std::string_view file, std::string_view column_file,
                         const Reading& reading);

// The long table: one line per value of every series, every series with its own counts.
// Its header line, without a line end.
std::string long_table_header();
// "FILE: 2 series, 1850-1879, file type 1": the long table's summary line of a reading.
std::string long_summary_line(std::string_view file, const Reading& reading);
// Appends the lines of a converted reading, each ended by `line_end`: FILE (escaped), the
// series' number from 1, its name without trailing blanks, the year, the value with 3
// decimals as the column file rounds it ("-0.250"), and the count. A series without values
// gives no line.
void append_long_lines(std::string& out, std::string_view file, const Reading& reading,
                       std::string_view line_end);

}  // namespace quillet

#endif  // INCLUDE_QUILLET_MESSAGES_H_
