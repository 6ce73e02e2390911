#include "platform/files.h"

#include <gtest/gtest.h>

#include "platform/system_failure.h"
#include "testing/fake_console.h"

namespace quillet::platform {
namespace {

using testing::ScratchDir;

std::string said(const SystemFailure& failure) {
  return failure.operation() + ": " + failure.reason();
}

TEST(Files, ColumnFileReplacesOldContentOnlyOnceWritten) {
  ScratchDir dir;
  FileSystem* files = &real_file_system();
  dir.write("old_COL", std::string(1000, 'x'));

  // Opened and abandoned without a write: the old content stays whole.
  files->open_output(dir.file("old_COL"))->abandon();
  EXPECT_EQ(dir.read("old_COL"), std::string(1000, 'x'));

  // Written and finished: exactly the new lines, however long the old file was.
  auto out = files->open_output(dir.file("old_COL"));
  out->write("new\n");
  out->finish();
  EXPECT_EQ(dir.read("old_COL"), "new\n");

  // A new file is created empty when nothing is written.
  files->open_output(dir.file("new_COL"))->abandon();
  EXPECT_TRUE(files->exists(dir.file("new_COL")));
  EXPECT_EQ(dir.read("new_COL"), "");
}

TEST(Files, DirectoriesAreRefusedWhenOpened) {
  ScratchDir dir;
  FileSystem* files = &real_file_system();
  EXPECT_TRUE(files->exists(dir.path().string()));
  try {
    files->open_input(dir.path().string());
    FAIL() << "opened a directory for reading";
  } catch (const SystemFailure& failure) {
    EXPECT_EQ(said(failure), "OPEN: Is a directory");
  }
  try {
    files->open_output(dir.path().string());
    FAIL() << "opened a directory for writing";
  } catch (const SystemFailure& failure) {
    EXPECT_EQ(said(failure), "OPEN: Is a directory");
  }
}

TEST(Files, MissingInputGivesTheSystemText) {
  ScratchDir dir;
  FileSystem* files = &real_file_system();
  EXPECT_FALSE(files->exists(dir.file("gone")));
  try {
    files->open_input(dir.file("gone"));
    FAIL();
  } catch (const SystemFailure& failure) {
    EXPECT_EQ(said(failure), "OPEN: No such file or directory");
  }
}

TEST(Files, SameFileThroughAnotherName) {
  ScratchDir dir;
  FileSystem* files = &real_file_system();
  dir.write("a", "x");
  EXPECT_TRUE(files->same_file(dir.file("a"), (dir.path() / "." / "a").string()));
  EXPECT_FALSE(files->same_file(dir.file("a"), dir.file("b")));
}

}  // namespace
}  // namespace quillet::platform
