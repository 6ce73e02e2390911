#include "platform/console.h"

#include <gtest/gtest.h>

#include "platform/system_failure.h"
#include "testing/fake_console.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quillet::platform {
namespace {

#if !defined(_WIN32)
// What the process's standard input gives when it is `name` (opened with `flags`), read as
// data and then as the answers; in a child process, so that the test's own standard input
// stays as it was.
std::string read_as_standard_input(const char* name, int flags) {
  int channel[2];
  if (pipe(channel) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    std::string said;
    const int fd = open(name, flags);
    if (fd < 0 || dup2(fd, 0) != 0) _exit(1);
    char buffer[64];
    try {
      said += "data " + std::to_string(standard_streams().data_input().read(buffer, 64));
    } catch (const SystemFailure& failure) {
      said += std::string("data ") + (failure.operation() == Operation::kRead ? "READ" : "other") +
              ": " + failure.reason();
    }
    said += ", answers " + std::to_string(standard_streams().input().read(buffer, 64));
    if (write(channel[1], said.data(), said.size()) < 0) _exit(1);
    _exit(0);
  }
  close(channel[1]);
  std::string said;
  char buffer[256];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) {
    said.append(buffer, static_cast<std::size_t>(n));
  }
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return said;
}

TEST(Console, StandardInputThatFailsIsAReadErrorAsDataAndTheEndAsAnswers) {
  testing::ScratchDir dir;
  dir.write("some.crn", "abc");
  EXPECT_EQ(read_as_standard_input(dir.path().c_str(), O_RDONLY),
            "data READ: Is a directory, answers 0");
  EXPECT_EQ(read_as_standard_input(dir.file("some.crn").c_str(), O_RDONLY), "data 3, answers 0");
  EXPECT_EQ(read_as_standard_input("/dev/null", O_RDONLY), "data 0, answers 0");
  // Opened for writing only: every read fails.
  EXPECT_EQ(read_as_standard_input("/dev/null", O_WRONLY),
            "data READ: Bad file descriptor, answers 0");
}
#endif

TEST(Console, TheFakeConsolesDataFailsWhereTheTestSays) {
  testing::FakeConsole console("abcdef\nghi\n");
  console.fail_data_after(4);
  char buffer[16];
  EXPECT_EQ(console.data_input().read(buffer, 16), 4u);
  try {
    console.data_input().read(buffer, 16);
    ADD_FAILURE() << "no failure";
  } catch (const SystemFailure& failure) {
    EXPECT_EQ(failure.operation(), Operation::kRead);
    EXPECT_EQ(failure.reason(), "Input/output error");
  }
  // The answers go on from where the data stopped.
  EXPECT_EQ(console.input().read(buffer, 16), 7u);
  EXPECT_EQ(std::string(buffer, 7), "ef\nghi\n");
}

}  // namespace
}  // namespace quillet::platform
