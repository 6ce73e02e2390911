#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    // The file that could not be made is named: the new file, not the column file.
    EXPECT_EQ(failure.path().substr(0, dir.file("no/such/folder/.q").size()),
              dir.file("no/such/folder/.q"));
    EXPECT_EQ(failure.path().size(), dir.file("no/such/folder/.q").size() + 3);
  }
}

TEST(Files, AReplacementFitsWhereverItsNameFits) {
  ScratchDir dir;
  FileSystem* files = &real_file_system();
  // A base name of 255 bytes, the longest most systems allow: its new file has a short name
  // beside it, which is gone once the file is in place.
  const std::string longest = dir.file(std::string(251, 'a') + "_COL");
  auto out = files->open_replacement(longest);
  const std::string new_file(out->new_file_name());
  EXPECT_EQ(new_file.substr(0, dir.path().string().size() + 3), dir.file(".q"));
  EXPECT_EQ(new_file.size(), dir.file("").size() + 12);
  EXPECT_TRUE(files->exists(new_file));
  out->write("long\n");
  out->finish();
  EXPECT_EQ(out->new_file_name(), "");
  EXPECT_FALSE(files->exists(new_file));
  EXPECT_EQ(dir.read(std::string(251, 'a') + "_COL"), "long\n");

  // A short name gets a new file no longer than itself (4 bytes at the least).
  out = files->open_replacement(dir.file("x_COL"));
  EXPECT_EQ(out->new_file_name().size(), dir.file("").size() + 5);
  out->abandon();
  EXPECT_EQ(out->new_file_name(), "");
}

#if !defined(_WIN32)
TEST(Files, AReplacedFileKeepsItsPermissionBits) {
  ScratchDir dir;
  FileSystem* files = &real_file_system();
  const auto mode_of = [](const std::string& name) {
    struct stat status {};
    EXPECT_EQ(stat(name.c_str(), &status), 0);
    return status.st_mode & 0777;
  };
  const mode_t old_mask = umask(022);
  dir.write("private_COL", "old\n");
  chmod(dir.file("private_COL").c_str(), 0600);
  dir.write("shared_COL", "old\n");
  chmod(dir.file("shared_COL").c_str(), 0664);
  for (const char* name : {"private_COL", "shared_COL", "new_COL"}) {
    auto out = files->open_replacement(dir.file(name));
    out->write("new\n");
    out->finish();
  }
  umask(old_mask);
  EXPECT_EQ(mode_of(dir.file("private_COL")), 0600u);
  EXPECT_EQ(mode_of(dir.file("shared_COL")), 0664u);  // beyond the umask, as it was
  EXPECT_EQ(mode_of(dir.file("new_COL")), 0644u);     // the umask's
  EXPECT_EQ(dir.read("private_COL"), "new\n");
}

TEST(Files, AnInputThatCannotSeekIsReadWholeToBeReadAgain) {
  ScratchDir dir;
  FileSystem* files = &real_file_system();
  const std::string fifo = dir.file("pipe.crn");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string sent;
  for (int i = 0; i < 20000; ++i) sent += "line " + std::to_string(i) + "\n";
  std::thread writer([&] { dir.write("pipe.crn", sent); });
  std::unique_ptr<InputFile> input = files->open_input(fifo);
  EXPECT_FALSE(input->rewindable());
  input = made_rewindable(std::move(input));
  writer.join();
  ASSERT_TRUE(input->rewindable());
  const auto read_all = [&input] {
    std::string bytes;
    char chunk[4096];
    for (std::size_t n; (n = input->read(chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
    return bytes;
  };
  EXPECT_EQ(read_all(), sent);
  input->rewind();
  EXPECT_EQ(read_all(), sent);

  // A file on disk is left as it is.
  dir.write("disk.crn", "abc");
  InputFile* disk = files->open_input(dir.file("disk.crn")).release();
  std::unique_ptr<InputFile> same = made_rewindable(std::unique_ptr<InputFile>(disk));
  EXPECT_EQ(same.get(), disk);
}
#endif

}  // namespace
}  // namespace quillet::platform
