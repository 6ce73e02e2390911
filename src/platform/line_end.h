// The line end the program writes to files. It comes from the target platform at compile
// time: CR LF in the Windows build, LF everywhere else.
#ifndef QUILLET_PLATFORM_LINE_END_H_
#define QUILLET_PLATFORM_LINE_END_H_

#include <string_view>

namespace quillet::platform {

#if defined(_WIN32)
inline constexpr std::string_view kFileLineEnd = "\r\n";
#else
inline constexpr std::string_view kFileLineEnd = "\n";
#endif

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_LINE_END_H_
