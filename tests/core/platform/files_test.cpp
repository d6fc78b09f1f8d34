#include "platform/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/io_error.h"
#include "platform/system_memory.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

TEST(InFile, ReadsCountsAndSkipsWithinTheFile) {
  test::TempDir dir;
  test::WriteAll(dir.File("f"), {1, 2, 3, 4, 5});
  InFile file(dir.File("f"));
  EXPECT_EQ(file.Size(), 5u);
  std::uint8_t b[8] = {};
  EXPECT_TRUE(file.ReadExact(b, 2));
  EXPECT_EQ(b[1], 2);
  EXPECT_TRUE(file.Skip(1));
  EXPECT_EQ(file.Remaining(), 2u);
  EXPECT_FALSE(file.ReadExact(b, 3));
  EXPECT_EQ(b[0], 4);
  EXPECT_EQ(file.Remaining(), 0u);
  EXPECT_FALSE(file.Skip(1));
  // Back to an earlier place after the end was reached, in the file and in memory alike.
  const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
  InFile memory(bytes, sizeof bytes, "memory");
  for (InFile* f : {&file, &memory}) {
    EXPECT_TRUE(f->Skip(f->Remaining()));
    EXPECT_TRUE(f->Seek(1));
    EXPECT_TRUE(f->ReadExact(b, 2));
    EXPECT_EQ(b[1], 3);
    EXPECT_FALSE(f->Seek(6));
    EXPECT_EQ(f->Position(), 3u);
  }

  EXPECT_TRUE(InFile::Exists(dir.File("f")));
  EXPECT_FALSE(InFile::Exists(dir.File("g")));
  EXPECT_THROW(InFile missing(dir.File("g")), IoError);
  EXPECT_THROW(InFile folder(dir.Path()), IoError);
}

TEST(InFile, ReadsEndAtTheSizeMeasuredWhenOpened) {
  // The memory form reads the caller's bytes where they are, up to their end.
  std::uint8_t bytes[] = {1, 2, 3};
  InFile memory(bytes, sizeof bytes, "memory");
  bytes[2] = 9;
  std::uint8_t b[8] = {};
  EXPECT_EQ(memory.Read(b, 8), 3u);
  EXPECT_EQ(b[2], 9);
  EXPECT_EQ(memory.Read(b, 8), 0u);
  InFile empty(nullptr, 0, "empty");
  EXPECT_FALSE(empty.ReadExact(b, 1));
  EXPECT_FALSE(empty.Skip(1));
  EXPECT_TRUE(empty.Seek(0));
  EXPECT_EQ(empty.Remaining(), 0u);

  // A file that grows after opening is read to its old size, so Remaining() cannot wrap round;
  // one that shrinks ends early.
  test::TempDir dir;
  const std::string path = dir.File("f");
  test::WriteAll(path, {1, 2, 3});
  InFile grown(path);
  test::WriteAll(path, {1, 2, 3, 4, 5});
  EXPECT_EQ(grown.Read(b, 8), 3u);
  EXPECT_EQ(grown.Remaining(), 0u);
  EXPECT_FALSE(grown.Skip(1));
  InFile shrunk(path);
  test::WriteAll(path, {7, 8});
  EXPECT_FALSE(shrunk.ReadExact(b, 5));
  EXPECT_EQ(b[1], 8);
  EXPECT_EQ(shrunk.Position(), 2u);
}

TEST(SystemAvailableMemory, ReadsMemAvailableInKilobytesOrReportsPlenty) {
  test::TempDir dir;
  const std::string meminfo = dir.File("meminfo");
  const std::string text = "MemTotal:  8000000 kB\nMemFree:  100 kB\nMemAvailable:   2048 kB\n";
  test::WriteAll(meminfo, std::vector<std::uint8_t>(text.begin(), text.end()));
  EXPECT_EQ(SystemAvailableMemory(meminfo.c_str()), 2048 * 1024);
  test::WriteAll(meminfo, std::vector<std::uint8_t>(text.begin(), text.begin() + 40));
  EXPECT_EQ(SystemAvailableMemory(meminfo.c_str()), kUnreportedMemory);
  EXPECT_EQ(SystemAvailableMemory(dir.File("none").c_str()), kUnreportedMemory);
  EXPECT_GT(SystemAvailableMemory(), 0);
}

TEST(SafeFileWriter, ReplacesTheTargetOnlyOnCommit) {
  test::TempDir dir;
  const std::string target = dir.File("out.bin");
  test::WriteAll(target, {9, 9});
  {
    SafeFileWriter writer(target);
    const std::uint8_t bytes[] = {1, 2, 3};
    writer.Write(bytes, 3);
    EXPECT_EQ(test::ReadAll(target), (std::vector<std::uint8_t>{9, 9}));
    EXPECT_EQ(dir.Entries().size(), 2u);
    // Abandoned without a commit (as when an exception leaves the save).
  }
  EXPECT_EQ(test::ReadAll(target), (std::vector<std::uint8_t>{9, 9}));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.bin"});

  SafeFileWriter writer(target);
  const std::uint8_t bytes[] = {1, 2, 3};
  writer.Write(bytes, 3);
  writer.Commit();
  EXPECT_EQ(test::ReadAll(target), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.bin"});
  struct stat info {};
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_NE(info.st_mode & S_IRGRP, 0u);  // not left owner-only by the temporary file

  EXPECT_THROW(SafeFileWriter(dir.File("no/such/folder")), IoError);
}

TEST(SafeFileWriter, AFailedRenameKeepsTheOldFile) {
  test::TempDir dir;
  // A folder in the target's place cannot be replaced by a file.
  const std::string target = dir.File("taken");
  ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
  SafeFileWriter writer(target);
  writer.Write("x", 1);
  EXPECT_THROW(writer.Commit(), IoError);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"taken"});
}

}  // namespace
}  // namespace mirasketch
