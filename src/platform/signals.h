// The program's clean-up when it is stopped from outside: SIGINT, SIGTERM and SIGHUP, or on
// Windows Ctrl-C, Ctrl-Break and the console window closed. A column file being written
// under its new name is removed, then the process ends as the signal says (an older column
// file of that name stays as it was). Only the program itself links this file: it holds the
// process's list of new files and its signal handlers, which the library never has.
#ifndef QUILLET_PLATFORM_SIGNALS_H_
#define QUILLET_PLATFORM_SIGNALS_H_

#include "platform/files.h"

namespace quillet::platform {

// A file system that does what `files` does, and whose replacements (open_replacement) have
// their new file removed when the program is stopped before the file is in place. The first
// call installs the handlers; a signal the program was started with ignored (nohup, a
// background job) stays ignored. The program has one: later calls give the first call's
// result, whatever they pass. `files` must outlive every use of it.
FileSystem& cleaning_file_system(FileSystem& files);

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_SIGNALS_H_
