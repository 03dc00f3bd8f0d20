// Our reading of the catalogue against the platform's private-profile functions, and the rewrite
// through the real disk.
#include <gtest/gtest.h>

#include "gamefiles/catalogue.h"
#include "gamefiles/disk_win32.h"
#include "gamefiles/game_paths.h"
#include "temp_folder.h"

namespace km {
namespace {

using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

std::string profile_value(const std::string& path, int slot) {
  std::vector<char> buffer(10240);
  const DWORD got = GetPrivateProfileStringA(catalogue_section().c_str(), catalogue_key(slot).c_str(), "",
                                             buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
  return std::string(buffer.data(), got);
}

// Every slot reads as the profile functions read it, for files another program may have written.
TEST(CatalogueProfile, EntriesAgreeWithTheProfileFunctions) {
  TempFolder dir;
  const std::vector<std::string> files = {
      "[皮肤包]\r\n英雄1=\"quoted\"\r\n英雄2=  padded  \r\n英雄3=a=b\r\n英雄4=皮肤,包\r\n英雄5='single'\r\n"
      "英雄6=\"\r\n英雄7='half\r\n英雄8=x\"\r\n英雄9=; not a comment\r\n英雄10=" + std::string(6000, '\xB0') + "a\r\n",
      "[皮肤包]\r\n英雄2=B\r\n英雄1=\r\n英雄1=A\r\n英雄2=X\r\n英雄3\r\n英雄4=D\r\n",
      "[其他]\r\n英雄1=X\r\n[皮肤包]\r\n英雄01=Y\r\n  英雄1 = A \r\n[皮肤包]\r\n英雄2=Z\r\n",
      "  [皮肤包]  \n英雄1=LF only\n英雄2=皮肤]包\n",
      "[ 皮肤包 ]\r\n英雄1=A\r\n",
  };
  int n = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file.substr(0, 60));
    const std::string path = dir / ("c" + std::to_string(n++) + ".ini");  // a new path: no cached copy
    ASSERT_TRUE(write_bytes(path, file));
    std::vector<std::string> expected;
    for (int slot = 1; slot <= 12; ++slot)
      if (std::string value = profile_value(path, slot); !value.empty()) expected.push_back(value);
    std::vector<std::string> ours;
    for (const CatalogueEntry& e : catalogue_entries(file)) ours.push_back(e.value);
    EXPECT_EQ(ours, expected);
  }
}

// Values that need quotes to keep their blanks or inner quotes: after a rewrite the profile
// functions read each one as they read it before.
TEST(CatalogueProfile, RewrittenValuesReadTheSame) {
  TempFolder dir;
  const std::string before = dir / "before.ini";
  const std::string after = dir / "after.ini";
  const std::string file =
      "[皮肤包]\r\n英雄1=\"  padded  \"\r\n英雄2=\"'single'\"\r\n英雄3='\"double\"'\r\n英雄4=\"\"\"\r\n"
      "英雄5=\"\t\"\r\n英雄6=gone\r\n";
  ASSERT_TRUE(write_bytes(before, file));
  ASSERT_TRUE(write_bytes(after, catalogue_without_position(file, 6)));
  for (int slot = 1; slot <= 5; ++slot) {
    SCOPED_TRACE(slot);
    EXPECT_FALSE(profile_value(before, slot).empty());
    EXPECT_EQ(profile_value(after, slot), profile_value(before, slot));
  }
  EXPECT_EQ(profile_value(after, 6), "");
}

TEST(CatalogueProfile, NewFileTextIsWhatTheProfileFunctionsWrite) {
  TempFolder dir;
  const std::string path = dir / "profile.ini";
  std::string ours;
  for (int slot = 1; slot <= 10; ++slot) {
    const std::string value = slot == 2 ? "A,B" : "Skin" + std::to_string(slot);
    ASSERT_TRUE(WritePrivateProfileStringA(catalogue_section().c_str(), catalogue_key(slot).c_str(), value.c_str(),
                                           path.c_str()));
    ours = catalogue_with_value(ours, value);
  }
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  EXPECT_EQ(ours, read_bytes(path));
}

TEST(CatalogueProfile, RewriteKeepsEverythingElseAndHonoursReadOnly) {
  TempFolder dir;
  ASSERT_TRUE(CreateDirectoryA((dir / "Game").c_str(), nullptr));
  Win32Disk disk;
  const std::string path = catalogue_path(dir.path());
  const std::string long_value(20000, 'v');
  ASSERT_TRUE(write_bytes(path, "; 我的注释\r\n[其他]\r\nx=1\r\n[皮肤包]\r\n英雄01=keep\r\n英雄1=A\r\n英雄2=" + long_value +
                                    "\r\n英雄4=D\r\n"));
  CatalogueFile file = read_catalogue(disk, dir.path());
  ASSERT_EQ(file.status, ReadStatus::ok);
  ASSERT_EQ(write_catalogue(disk, dir.path(), catalogue_without_position(file.bytes, 1)), 0u);
  const std::string expected =
      "; 我的注释\r\n[其他]\r\nx=1\r\n[皮肤包]\r\n英雄01=keep\r\n英雄1=" + long_value + "\r\n英雄2=D\r\n";
  EXPECT_EQ(read_bytes(path), expected);
  EXPECT_EQ(profile_value(path, 2), "D");  // the profile functions see the new file

  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(write_catalogue(disk, dir.path(), "x"), static_cast<SystemError>(ERROR_FILE_READ_ONLY));
  EXPECT_EQ(write_catalogue(disk, dir.path(), ""), static_cast<SystemError>(ERROR_FILE_READ_ONLY));
  EXPECT_EQ(read_bytes(path), expected);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(write_catalogue(disk, dir.path(), ""), 0u);
  EXPECT_EQ(read_bytes(path), "<missing>");
}

}  // namespace
}  // namespace km
