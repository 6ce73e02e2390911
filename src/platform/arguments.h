// The program's arguments. On Windows they are taken from the wide command line, so that a
// name beyond the console's code page (such as 年輪.crn) arrives whole, as UTF-8 bytes, and
// wildcards in file names are expanded by the program, since cmd leaves them to it. Elsewhere
// the arguments are the bytes the shell gives, already expanded.
#ifndef QUILLET_PLATFORM_ARGUMENTS_H_
#define QUILLET_PLATFORM_ARGUMENTS_H_

#include <string>
#include <string_view>
#include <vector>

namespace quillet::platform {

// The arguments after the program's name.
std::vector<std::string> command_line_arguments(int argc, char** argv);

// Windows: every name holding * or ? is replaced by the files it matches, in order (a pattern
// that matches nothing stays as it is). Elsewhere the names as they are.
std::vector<std::string> expand_wildcards(const std::vector<std::string>& names);

// A Windows command line split as its C runtime splits it: blanks and TABs between arguments,
// double quotes around blanks, 2n backslashes before a quote give n and the quote is a quote
// mark, 2n+1 give n and a literal quote, "" inside quotes is a literal quote, other
// backslashes are literal. The program's name, the first, is taken to its first blank outside
// quotes, without any escapes. Returns every argument, the program's name first.
std::vector<std::wstring> split_command_line(std::wstring_view line);

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_ARGUMENTS_H_
