#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system_failure.h"
#include "testing/fake_console.h"

namespace quillet::platform {
namespace {

using testing::ScratchDir;

std::string said(const SystemFailure& failure) {
  const char* operation = failure.operation() == Operation::kOpen ? "OPEN" : "other";
  return std::string(operation) + ": " + failure.reason();
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

TEST(Files, AReplacementTakesTheNameWholeOrNotAtAll) {
  ScratchDir dir;
  FileSystem* files = &real_file_system();
  dir.write("a_COL", "old\n");
  const auto listing = [&dir] {
    std::string names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      names += entry.path().filename().string() + " ";
    }
    return names;
  };

  // Abandoned (or dropped) half way: the old file stays and nothing new is left.
  auto out = files->open_replacement(dir.file("a_COL"));
  out->write("half");
  out->abandon();
  files->open_replacement(dir.file("a_COL"))->write("dropped");
  EXPECT_EQ(dir.read("a_COL"), "old\n");
  EXPECT_EQ(listing(), "a_COL ");

  // Finished: the new content under the name, at once.
  out = files->open_replacement(dir.file("a_COL"));
  out->write("new\n");
  EXPECT_EQ(dir.read("a_COL"), "old\n");
  out->finish();
  EXPECT_EQ(dir.read("a_COL"), "new\n");
  EXPECT_EQ(listing(), "a_COL ");
  EXPECT_EQ(files->identity(dir.file("a_COL")), files->identity(dir.file("./a_COL")));
  EXPECT_NE(files->identity(dir.file("a_COL")), std::nullopt);
  EXPECT_EQ(files->identity(dir.file("none")), std::nullopt);

  try {
    files->open_replacement(dir.file("no/such/folder/x_COL"));
    ADD_FAILURE() << "a replacement in a missing folder opened";
  } catch (const SystemFailure& failure) {
    EXPECT_EQ(failure.operation(), platform::Operation::kCreate);
  }
}

}  // namespace
}  // namespace quillet::platform
