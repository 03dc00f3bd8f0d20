#include "gamefiles/disk_win32.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace km {
namespace {

using testing::folder_listing;
using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

TEST(Win32Disk, ReadTellsMissingUnreadableAndOk) {
  TempFolder dir;
  Win32Disk disk;
  const std::string path = dir / "皮肤.ini";

  EXPECT_EQ(disk.read_file(path).status, ReadStatus::missing);
  EXPECT_EQ(disk.read_file(dir / "no folder\\x.txt").status, ReadStatus::missing);
  EXPECT_EQ(disk.read_file("").status, ReadStatus::missing);
  EXPECT_EQ(disk.read_file(dir.path()).status, ReadStatus::unreadable);  // a folder

  const std::string content("a\0b\r\n", 5);
  ASSERT_TRUE(write_bytes(path, content));
  FileRead read = disk.read_file(path);
  EXPECT_EQ(read.status, ReadStatus::ok);
  EXPECT_EQ(read.bytes, content);

  // Another program holds the file open without sharing: unreadable, not empty.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(disk.read_file(path).status, ReadStatus::unreadable);
  CloseHandle(held);
}

TEST(Win32Disk, WriteIsAllOrNothing) {
  TempFolder dir;
  Win32Disk disk;
  const std::string path = dir / "ClientZips.txt";

  ASSERT_TRUE(disk.write_file(path, ""));
  EXPECT_EQ(read_bytes(path), "");
  ASSERT_TRUE(disk.write_file(path, "old\r\nbytes"));
  ASSERT_TRUE(disk.write_file(path, "new"));
  EXPECT_EQ(read_bytes(path), "new");
  EXPECT_EQ(disk.read_file(path).bytes, "new");

  // A read-only target is refused; the old bytes stay and no temporary file is left behind.
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(disk.write_file(path, "lost"));
  EXPECT_EQ(read_bytes(path), "new");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  // Held open by another program without sharing: the write fails and changes nothing.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(disk.write_file(path, "lost"));
  CloseHandle(held);
  EXPECT_EQ(read_bytes(path), "new");

  EXPECT_FALSE(disk.write_file(dir / "no folder\\x.txt", "x"));
  EXPECT_FALSE(disk.write_file("", "x"));
  EXPECT_EQ(folder_listing(dir.path()), "ClientZips.txt;");
}

TEST(Win32Disk, ExistsIsASearch) {
  TempFolder dir;
  Win32Disk disk;
  ASSERT_TRUE(CreateDirectoryA((dir / "皮肤.ini").c_str(), nullptr));
  EXPECT_TRUE(disk.file_exists(dir / "皮肤.ini"));  // a folder counts
  ASSERT_TRUE(write_bytes(dir / "a.zip", "z"));
  EXPECT_TRUE(disk.file_exists(dir / "*.zip"));
  EXPECT_TRUE(disk.file_exists(dir / "?.zip"));
  EXPECT_FALSE(disk.file_exists(dir / "b.zip"));
  EXPECT_TRUE(disk.delete_file(dir / "a.zip"));
  EXPECT_FALSE(disk.file_exists(dir / "a.zip"));
  EXPECT_FALSE(disk.delete_file(dir / "a.zip"));
}

TEST(Win32Disk, MoveReplacesAnExistingTarget) {
  TempFolder dir;
  Win32Disk disk;
  ASSERT_TRUE(CreateDirectoryA((dir / "Game").c_str(), nullptr));
  ASSERT_TRUE(write_bytes(dir / "阿狸.zip", "new pack"));
  ASSERT_TRUE(write_bytes(dir / "Game\\阿狸.zip", "old pack"));
  EXPECT_TRUE(disk.move_file(dir / "阿狸.zip", dir / "Game\\阿狸.zip"));
  EXPECT_EQ(read_bytes(dir / "Game\\阿狸.zip"), "new pack");
  EXPECT_EQ(read_bytes(dir / "阿狸.zip"), "<missing>");
  EXPECT_FALSE(disk.move_file(dir / "gone.zip", dir / "Game\\gone.zip"));
}

}  // namespace
}  // namespace km
