#include "gamefiles/disk_win32.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace km {
namespace {

using testing::folder_listing;
using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

HANDLE hold(const std::string& path, DWORD share) {
  return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

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
  read = disk.read_file(path, 4);
  EXPECT_EQ(read.status, ReadStatus::unreadable);
  EXPECT_EQ(read.error, static_cast<SystemError>(ERROR_FILE_TOO_LARGE));

  // The game or an editor holding the file open for writing, sharing it: still readable.
  HANDLE shared = hold(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_NE(shared, INVALID_HANDLE_VALUE);
  EXPECT_EQ(disk.read_file(path).bytes, content);
  CloseHandle(shared);

  // Held open without sharing: unreadable, and why.
  HANDLE held = hold(path, 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  read = disk.read_file(path);
  EXPECT_EQ(read.status, ReadStatus::unreadable);
  EXPECT_EQ(read.error, static_cast<SystemError>(ERROR_SHARING_VIOLATION));
  CloseHandle(held);
}

TEST(Win32Disk, WriteIsAllOrNothing) {
  TempFolder dir;
  Win32Disk disk;
  const std::string path = dir / "ClientZips.txt";

  ASSERT_EQ(disk.write_file(path, ""), 0u);
  EXPECT_EQ(read_bytes(path), "");
  ASSERT_EQ(disk.write_file(path, "old\r\nbytes"), 0u);
  ASSERT_EQ(disk.write_file(path, "new"), 0u);
  EXPECT_EQ(read_bytes(path), "new");

  struct Case { const char* what; DWORD attributes; DWORD share; SystemError error; };
  const Case cases[] = {
      {"read-only", FILE_ATTRIBUTE_READONLY, ~0u, ERROR_FILE_READ_ONLY},
      {"held without sharing", FILE_ATTRIBUTE_NORMAL, 0, ERROR_SHARING_VIOLATION},
      {"held sharing read and write, not delete", FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE,
       ERROR_SHARING_VIOLATION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes));
    HANDLE held = c.share == ~0u ? INVALID_HANDLE_VALUE : hold(path, c.share);
    EXPECT_EQ(disk.write_file(path, "lost"), c.error);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(read_bytes(path), "new");
    EXPECT_EQ(folder_listing(dir.path()), "ClientZips.txt;");  // no temporary file left
  }
  EXPECT_EQ(disk.write_file(dir / "no folder\\x.txt", "x"), static_cast<SystemError>(ERROR_PATH_NOT_FOUND));
  EXPECT_NE(disk.write_file("", "x"), 0u);
  EXPECT_EQ(folder_listing(dir.path()), "ClientZips.txt;");
}

TEST(Win32Disk, ExactFilesFoldersAndDeletes) {
  TempFolder dir;
  Win32Disk disk;
  ASSERT_TRUE(CreateDirectoryA((dir / "Game").c_str(), nullptr));
  ASSERT_TRUE(write_bytes(dir / "a.zip", "z"));
  EXPECT_TRUE(disk.is_file(dir / "a.zip"));
  EXPECT_FALSE(disk.is_file(dir / "*.zip"));  // no wildcards
  EXPECT_FALSE(disk.is_file(dir / "?.zip"));
  EXPECT_FALSE(disk.is_file(dir / "Game"));
  EXPECT_TRUE(disk.is_folder(dir / "Game"));
  EXPECT_TRUE(disk.is_folder(dir / "Game\\"));
  EXPECT_FALSE(disk.is_folder(dir / "a.zip"));

  ASSERT_TRUE(SetFileAttributesA((dir / "a.zip").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(disk.delete_file(dir / "a.zip"), static_cast<SystemError>(ERROR_FILE_READ_ONLY));
  ASSERT_TRUE(SetFileAttributesA((dir / "a.zip").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(disk.delete_file(dir / "a.zip"), 0u);
  EXPECT_EQ(disk.delete_file(dir / "a.zip"), static_cast<SystemError>(ERROR_FILE_NOT_FOUND));
}

TEST(Win32Disk, RecycleTakesOneFileAndSaysWhyNot) {
  TempFolder dir;
  Win32Disk disk;
  ASSERT_TRUE(write_bytes(dir / "a.zip", "a"));
  ASSERT_TRUE(write_bytes(dir / "b.zip", "b"));
  HANDLE held = hold(dir / "a.zip", FILE_SHARE_READ);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(disk.recycle_file(dir / "a.zip"), static_cast<SystemError>(ERROR_SHARING_VIOLATION));
  CloseHandle(held);
  EXPECT_EQ(disk.recycle_file(dir / "a.zip"), 0u);
  EXPECT_EQ(disk.recycle_file(dir / "a.zip"), static_cast<SystemError>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(folder_listing(dir.path()), "b.zip;");
}

TEST(Win32Disk, MoveReplacesOnlyWhenAsked) {
  TempFolder dir;
  Win32Disk disk;
  ASSERT_TRUE(CreateDirectoryA((dir / "Game").c_str(), nullptr));
  ASSERT_TRUE(write_bytes(dir / "阿狸.zip", "new pack"));
  ASSERT_TRUE(write_bytes(dir / "Game\\阿狸.zip", "old pack"));
  EXPECT_EQ(disk.move_file(dir / "阿狸.zip", dir / "Game\\阿狸.zip", false).error,
            static_cast<SystemError>(ERROR_FILE_EXISTS));
  EXPECT_EQ(read_bytes(dir / "Game\\阿狸.zip"), "old pack");
  const MoveResult moved = disk.move_file(dir / "阿狸.zip", dir / "Game\\阿狸.zip", true);
  EXPECT_EQ(moved.error, 0u);
  EXPECT_FALSE(moved.source_left);
  EXPECT_EQ(read_bytes(dir / "Game\\阿狸.zip"), "new pack");
  EXPECT_EQ(read_bytes(dir / "阿狸.zip"), "<missing>");
  EXPECT_NE(disk.move_file(dir / "gone.zip", dir / "Game\\gone.zip", false).error, 0u);
}

}  // namespace
}  // namespace km
