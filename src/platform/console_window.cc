#include "platform/console_window.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace quillet::platform {

bool hold_window_at_end(unsigned processes, bool quit_by_slash) {
  return processes == 1 && !quit_by_slash;
}

void end_console_window(bool quit_by_slash) {
#if defined(_WIN32)
  DWORD list[2];
  if (!hold_window_at_end(GetConsoleProcessList(list, 2), quit_by_slash)) return;
  SetConsoleTitleW(L"Quillet: the run has ended. Press Enter, or close this window, to close it");
  // The keyboard of the window itself, whatever standard input was redirected to.
  HANDLE keyboard =
      CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (keyboard == INVALID_HANDLE_VALUE) return;
  FlushConsoleInputBuffer(keyboard);
  wchar_t key[64];
  DWORD got = 0;
  // A line read with echo off: Enter ends it, and what was typed does not reach the screen.
  DWORD mode = 0;
  if (GetConsoleMode(keyboard, &mode)) {
    SetConsoleMode(keyboard, (mode | ENABLE_LINE_INPUT) & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  }
  while (ReadConsoleW(keyboard, key, 64, &got, nullptr) && got > 0) {
    if (key[got - 1] == L'\n' || key[got - 1] == L'\r') break;
  }
  CloseHandle(keyboard);
#else
  (void)quit_by_slash;
#endif
}

}  // namespace quillet::platform
