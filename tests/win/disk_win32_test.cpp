#include "gamefiles/disk_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <vector>

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

TEST(Win32Disk, ReadTailAndReadAtStayInsideTheFile) {
  TempFolder dir;
  Win32Disk disk;
  const std::string path = dir / "pack.zip";
  ASSERT_TRUE(write_bytes(path, "0123456789"));
  ASSERT_TRUE(write_bytes(dir / "empty.zip", ""));
  struct Case { const char* what; FilePart part; ReadStatus status; std::uint64_t size; std::string bytes; };
  const Case cases[] = {
      {"the last bytes", disk.read_tail(path, 4), ReadStatus::ok, 10, "6789"},
      {"a tail longer than the file", disk.read_tail(path, 100), ReadStatus::ok, 10, "0123456789"},
      {"no tail", disk.read_tail(path, 0), ReadStatus::ok, 10, ""},
      {"an empty file", disk.read_tail(dir / "empty.zip", 4), ReadStatus::ok, 0, ""},
      {"from the start", disk.read_at(path, 0, 4), ReadStatus::ok, 10, "0123"},
      {"across the end", disk.read_at(path, 8, 4), ReadStatus::ok, 10, "89"},
      {"at the end", disk.read_at(path, 10, 4), ReadStatus::ok, 10, ""},
      {"far past the end", disk.read_at(path, 1ull << 40, 4), ReadStatus::ok, 10, ""},
      {"a missing file", disk.read_tail(dir / "gone.zip", 4), ReadStatus::missing, 0, ""},
      {"a folder", disk.read_at(dir.path(), 0, 4), ReadStatus::unreadable, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.part.status, c.status);
    EXPECT_EQ(c.part.file_size, c.size);
    EXPECT_EQ(c.part.bytes, c.bytes);
  }
  // Shared fully: another program writing the file does not stop the check; one that shares
  // nothing does, and says so.
  HANDLE writer = hold(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_EQ(disk.read_tail(path, 2).bytes, "89");
  CloseHandle(writer);
  HANDLE held = hold(path, 0);
  const FilePart refused = disk.read_at(path, 0, 2);
  EXPECT_EQ(refused.status, ReadStatus::unreadable);
  EXPECT_EQ(refused.error, static_cast<SystemError>(ERROR_SHARING_VIOLATION));
  CloseHandle(held);
}

// The second volume ./test maps: a drive letter on another file system than the temp folder.
std::string other_volume() {
  const char* drive = std::getenv("KM_OTHER_VOLUME_DRIVE");
  return drive && GetFileAttributesA((std::string(drive) + "\\").c_str()) != INVALID_FILE_ATTRIBUTES
             ? std::string(drive) + "\\"
             : std::string();
}

TEST(Win32Disk, RenameNeverCopiesAndReplacesOnlyWhenAsked) {
  Win32Disk disk;
  struct Case {
    const char* what;
    const char* target;  // the target's bytes before, or nullptr for none
    DWORD attributes;    // of the target
    bool replace;
    SystemError error;
  };
  const Case cases[] = {
      {"to a free name", nullptr, 0, false, 0},
      {"onto a file, not asked to replace", "old pack", FILE_ATTRIBUTE_NORMAL, false, ERROR_FILE_EXISTS},
      {"onto a file, asked to replace", "old pack", FILE_ATTRIBUTE_NORMAL, true, 0},
      {"onto a read-only file", "old pack", FILE_ATTRIBUTE_READONLY, true, ERROR_FILE_READ_ONLY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder dir;
    ASSERT_TRUE(CreateDirectoryA((dir / "Game").c_str(), nullptr));
    ASSERT_TRUE(write_bytes(dir / "阿狸.zip", "new pack"));
    const std::string target = dir / "Game\\阿狸.zip";
    if (c.target) {
      ASSERT_TRUE(write_bytes(target, c.target));
      ASSERT_TRUE(SetFileAttributesA(target.c_str(), c.attributes));
    }
    EXPECT_EQ(disk.rename_file(dir / "阿狸.zip", target, c.replace), c.error);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(read_bytes(target), c.error ? c.target : "new pack");
    EXPECT_EQ(read_bytes(dir / "阿狸.zip"), c.error ? "new pack" : "<missing>");
    EXPECT_EQ(folder_listing(dir / "Game"), "阿狸.zip;");
  }
  TempFolder dir;
  EXPECT_EQ(disk.rename_file(dir / "gone.zip", dir / "here.zip", false), static_cast<SystemError>(ERROR_FILE_NOT_FOUND));

  // Across volumes: refused, and nothing is copied.
  const std::string volume = other_volume();
  ASSERT_FALSE(volume.empty()) << "no second volume: KM_OTHER_VOLUME_DRIVE must name a drive on another "
                                  "file system (./test maps T: to a folder under /dev/shm)";
  TempFolder there(volume);
  ASSERT_TRUE(write_bytes(there / "阿狸.zip", "far pack"));
  EXPECT_EQ(disk.rename_file(there / "阿狸.zip", dir / "阿狸.zip", true), static_cast<SystemError>(ERROR_NOT_SAME_DEVICE));
  EXPECT_EQ(folder_listing(dir.path()), "");
  EXPECT_EQ(read_bytes(there / "阿狸.zip"), "far pack");
}

TEST(Win32Disk, SameFileWhateverTheSpelling) {
  TempFolder dir;
  Win32Disk disk;
  ASSERT_TRUE(CreateDirectoryA((dir / "Game").c_str(), nullptr));
  const std::string pack = dir / "Game\\Long Skin Pack.zip";
  ASSERT_TRUE(write_bytes(pack, "pack"));
  ASSERT_TRUE(write_bytes(dir / "Game\\Other Pack.zip", "pack"));
  char short_path[MAX_PATH];
  ASSERT_NE(GetShortPathNameA(pack.c_str(), short_path, MAX_PATH), 0u);
  ASSERT_NE(std::string(short_path), pack);
  struct Case { std::string spelling; bool same; };
  const Case cases[] = {
      {pack, true},
      {dir / "GAME\\long skin PACK.ZIP", true},
      {short_path, true},
      {dir / "Game\\.\\Long Skin Pack.zip", true},
      {dir / "Game\\..\\Game\\Long Skin Pack.zip", true},
      {dir / "Game\\Other Pack.zip", false},  // the same bytes in another file
      {dir / "Game\\Long Skin Pack.zip.zip", false},
      {dir / "Game", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spelling);
    EXPECT_EQ(disk.same_file(pack, c.spelling), c.same);
    EXPECT_EQ(disk.same_file(c.spelling, pack), c.same);
  }
}

// What a copy into place leaves: the target replaced only by a complete copy, and only when asked;
// after a cancel or a failure the target as it was and no new file anywhere.
TEST(Win32Disk, CopyIntoPlaceReplacesOnlyWhenComplete) {
  const std::string pack = std::string(5 << 20, 'p') + "end";  // more than one piece
  struct Case {
    const char* what;
    const char* target;  // the target's bytes before, or nullptr for none
    DWORD attributes;
    bool replace;
    bool cancel_after_first_piece;
    bool unreadable_source;
    SystemError error;
  };
  const Case cases[] = {
      {"to a free name", nullptr, 0, false, false, false, 0},
      {"replacing, asked to", "old pack", FILE_ATTRIBUTE_NORMAL, true, false, false, 0},
      {"onto a file, not asked to replace", "old pack", FILE_ATTRIBUTE_NORMAL, false, false, false, ERROR_FILE_EXISTS},
      {"onto a read-only file", "old pack", FILE_ATTRIBUTE_READONLY, true, false, false, ERROR_FILE_READ_ONLY},
      {"cancelled half way", "old pack", FILE_ATTRIBUTE_NORMAL, true, true, false, ERROR_CANCELLED},
      {"cancelled half way to a free name", nullptr, 0, false, true, false, ERROR_CANCELLED},
      {"the source cannot be read", "old pack", FILE_ATTRIBUTE_NORMAL, true, false, true, ERROR_ACCESS_DENIED},
  };
  const std::string volume = other_volume();
  ASSERT_FALSE(volume.empty()) << "no second volume (KM_OTHER_VOLUME_DRIVE)";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder there(volume);
    TempFolder dir;
    ASSERT_TRUE(write_bytes(there / "阿狸.zip", pack));
    const std::string target = dir / "阿狸.zip";
    if (c.target) {
      ASSERT_TRUE(write_bytes(target, c.target));
      ASSERT_TRUE(SetFileAttributesA(target.c_str(), c.attributes));
    }
    HANDLE from = CreateFileA((there / "阿狸.zip").c_str(), c.unreadable_source ? GENERIC_WRITE : GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(from, INVALID_HANDLE_VALUE);
    std::atomic<bool> cancel{false};
    std::vector<std::uint64_t> heard;
    const SystemError error = copy_into_place(from, target, c.replace, &cancel, [&](std::uint64_t done) {
      heard.push_back(done);
      if (c.cancel_after_first_piece) cancel = true;
    });
    CloseHandle(from);
    EXPECT_EQ(error, c.error);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (c.error) {
      EXPECT_EQ(read_bytes(target), c.target ? c.target : "<missing>");
      EXPECT_EQ(folder_listing(dir.path()), c.target ? "阿狸.zip;" : "");
    } else {
      EXPECT_EQ(read_bytes(target), pack);
      EXPECT_EQ(folder_listing(dir.path()), "阿狸.zip;");
      ASSERT_FALSE(heard.empty());
      EXPECT_EQ(heard.back(), pack.size());
      EXPECT_TRUE(std::is_sorted(heard.begin(), heard.end()));
    }
    EXPECT_EQ(read_bytes(there / "阿狸.zip"), pack);  // the source is only read
  }
  TempFolder dir;
  HANDLE from = CreateFileA(__argv[0], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(from, INVALID_HANDLE_VALUE);
  EXPECT_EQ(copy_into_place(from, dir / "no folder\\阿狸.zip", true), static_cast<SystemError>(ERROR_PATH_NOT_FOUND));
  CloseHandle(from);
}

}  // namespace
}  // namespace km
