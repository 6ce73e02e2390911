// File names beyond ASCII. Inside the program a name is the bytes that were typed or piped
// in, on every build (the 40- and 20-column rules count bytes). Only the Windows build, whose
// system wants names in UTF-16, converts them, at the edge, when it asks the system for a
// file: bytes that are valid UTF-8 are read as UTF-8, any other bytes in the console's input
// code page (what cmd writes into a batch file's redirected answers), or in the system's ANSI
// code page when there is no console.
#ifndef QUILLET_PLATFORM_NAMES_H_
#define QUILLET_PLATFORM_NAMES_H_

#include <string>
#include <string_view>

namespace quillet::platform {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF). Plain ASCII is UTF-8.
bool is_utf8(std::string_view bytes);

#if defined(_WIN32)
// `bytes` in code page `code_page` (UTF-8 when is_utf8 says so, whatever `code_page` is).
std::wstring to_wide(std::string_view bytes, unsigned code_page);
// A name as the system takes it: to_wide with the console's input code page, or the ANSI code
// page when the program has no console.
std::wstring name_to_wide(std::string_view name);
std::string to_utf8(std::wstring_view text);
#endif

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_NAMES_H_
