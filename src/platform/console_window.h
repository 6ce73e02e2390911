// The console window of a program started on its own (double-clicked in Explorer): Windows
// gives it a window that closes the moment the program ends, taking the closing line or the
// error report with it. Such a window is held open until the user presses Enter or closes it;
// its title says so, and nothing is added to the transcript. A run that the user ended with
// "/" closes it at once. Started from cmd, a batch file or a pipe, the program shares its
// console (or has none), and nothing changes; nor on the other builds.
#ifndef QUILLET_PLATFORM_CONSOLE_WINDOW_H_
#define QUILLET_PLATFORM_CONSOLE_WINDOW_H_

namespace quillet::platform {

// The decision: the program is the only process on its console window (`processes` is how
// many the system lists, 0 without a console) and the run did not end with "/".
bool hold_window_at_end(unsigned processes, bool quit_by_slash);

// At the end of the run: holds the window when hold_window_at_end says so (Windows only).
void end_console_window(bool quit_by_slash);

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_CONSOLE_WINDOW_H_
