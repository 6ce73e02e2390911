#include "platform/names.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace quillet::platform {

bool is_utf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07u;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

#if defined(_WIN32)

std::wstring to_wide(std::string_view bytes, unsigned code_page) {
  if (bytes.empty()) return {};
  if (is_utf8(bytes)) code_page = CP_UTF8;
  const int size = static_cast<int>(bytes.size());
  const int wide_size = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), size, wide.data(), wide_size);
  return wide;
}

std::wstring name_to_wide(std::string_view name) {
  const unsigned console = GetConsoleCP();
  return to_wide(name, console != 0 ? console : GetACP());
}

std::string to_utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int utf8_size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(utf8_size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), utf8_size, nullptr, nullptr);
  return utf8;
}

#endif

}  // namespace quillet::platform
