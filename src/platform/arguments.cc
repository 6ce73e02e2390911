#include "platform/arguments.h"

#include <algorithm>

#if defined(_WIN32)
#include <windows.h>

#include "platform/names.h"
#endif

namespace quillet::platform {
namespace {

bool is_blank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::vector<std::wstring> split_command_line(std::wstring_view line) {
  std::vector<std::wstring> arguments;
  std::size_t i = 0;
  // The program's name: quotes group, nothing is escaped.
  std::wstring name;
  bool quoted = false;
  for (; i < line.size() && (quoted || !is_blank(line[i])); ++i) {
    if (line[i] == L'"') {
      quoted = !quoted;
    } else {
      name.push_back(line[i]);
    }
  }
  arguments.push_back(std::move(name));

  for (;;) {
    while (i < line.size() && is_blank(line[i])) ++i;
    if (i == line.size()) break;
    std::wstring argument;
    quoted = false;
    while (i < line.size() && (quoted || !is_blank(line[i]))) {
      if (line[i] == L'\\') {
        std::size_t backslashes = 0;
        while (i < line.size() && line[i] == L'\\') {
          ++backslashes;
          ++i;
        }
        if (i < line.size() && line[i] == L'"') {
          argument.append(backslashes / 2, L'\\');
          if (backslashes % 2 == 1) {
            argument.push_back(L'"');
            ++i;
          }
        } else {
          argument.append(backslashes, L'\\');
        }
      } else if (line[i] == L'"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
          argument.push_back(L'"');  // "" inside quotes
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        argument.push_back(line[i++]);
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

#if defined(_WIN32)

std::vector<std::string> command_line_arguments(int, char**) {
  std::vector<std::wstring> wide = split_command_line(GetCommandLineW());
  std::vector<std::string> arguments;
  for (std::size_t k = 1; k < wide.size(); ++k) arguments.push_back(to_utf8(wide[k]));
  return arguments;
}

std::vector<std::string> expand_wildcards(const std::vector<std::string>& names) {
  std::vector<std::string> expanded;
  for (const std::string& name : names) {
    if (name.find_first_of("*?") == std::string::npos) {
      expanded.push_back(name);
      continue;
    }
    const std::size_t folder_end = name.find_last_of("/\\:");
    const std::string folder =
        folder_end == std::string::npos ? "" : name.substr(0, folder_end + 1);
    std::vector<std::string> matches;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(name_to_wide(name).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        matches.push_back(folder + to_utf8(found.cFileName));
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    if (matches.empty()) {
      expanded.push_back(name);
      continue;
    }
    std::sort(matches.begin(), matches.end());
    expanded.insert(expanded.end(), matches.begin(), matches.end());
  }
  return expanded;
}

#else

std::vector<std::string> command_line_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

std::vector<std::string> expand_wildcards(const std::vector<std::string>& names) { return names; }

#endif

}  // namespace quillet::platform
