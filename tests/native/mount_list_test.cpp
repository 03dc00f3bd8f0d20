#include "gamefiles/mount_list.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/text_rules.h"

namespace km {
namespace {

// A literal with its zero bytes.
template <size_t N>
std::string bytes(const char (&literal)[N]) { return std::string(literal, N - 1); }

TEST(MountList, DefaultListBytes) {
  const std::string_view list = default_mount_list();
  EXPECT_EQ(list.size(), 667u);
  const std::vector<std::string> entries = split_text(list, "\r\n");
  ASSERT_EQ(entries.size(), 34u);
  EXPECT_EQ(entries.front(), "Aatrox.zip");
  EXPECT_EQ(entries[7], "Characters.zip");
  EXPECT_EQ(entries[8], "CharacterSkins.zip");
  EXPECT_EQ(entries[28], "ParticleTextrues.zip");
  EXPECT_EQ(entries.back(), "Yasuo.zip");
  EXPECT_NE(list.substr(list.size() - 2), "\r\n");
  for (const std::string& e : entries) EXPECT_EQ(e.substr(e.size() - 4), ".zip") << e;
}

TEST(MountList, AddEntry) {
  const std::string def(default_mount_list());
  struct Case { std::string list, name, result; };
  const Case cases[] = {
      {def, "SkinA", def + "\r\nSkinA.zip"},
      {"", "SkinA", "\r\nSkinA.zip"},
      {"Aatrox.zip\r\n", "SkinA", "Aatrox.zip\r\n\r\nSkinA.zip"},
      {"Aatrox.zip\r\nSkinA.zip", "SkinA", "Aatrox.zip\r\nSkinA.zip"},  // already a line
      {"SkinA.zip\r\nAatrox.zip", "SkinA", "SkinA.zip\r\nAatrox.zip"},  // first line counts
      {"MySkinA.zip", "SkinA", "MySkinA.zip\r\nSkinA.zip"},
      {"\xC6\xA4.zip", "\xC6\xA4", "\xC6\xA4.zip"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list + " + " + c.name);
    EXPECT_EQ(add_entry(c.list, c.name), c.result);
  }
  EXPECT_EQ(add_entry(def, "SkinA").size(), 678u);
}

TEST(MountList, FindAndMountedTestMatchWholeLinesOnly) {
  struct Case { std::string list, name; int position; };
  const Case cases[] = {
      {"Aatrox.zip\r\nSkinA.zip", "SkinA", 13},
      {"SkinA.zip\r\nAatrox.zip", "SkinA", 1},  // the first line is found
      {"SkinA.zip", "SkinA", 1},
      {"MySkinA.zip", "SkinA", -1},             // a longer entry ending in the name
      {"Aatrox.zip\r\nSkinA.zip2.zip", "SkinA", -1},
      {"SkinA.ZIP", "SkinA", -1},               // case matters
      {"SkinA.zip", "skina", -1},
      {"a\nSkinA.zip\n", "SkinA", 3},           // LF-only breaks
      {"SkinA.zip\r", "SkinA", -1},             // a CR without LF is part of the line
      {"Aatrox.zip\r\n.zip", "", 13},           // the empty name
      {"", "SkinA", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list + " / " + c.name);
    EXPECT_EQ(find_entry(c.list, c.name), c.position);
    EXPECT_EQ(is_mounted(c.list, c.name), c.position != -1);
    EXPECT_EQ(MountListLines(c.list).has_entry(c.name), c.position != -1);
  }
}

TEST(MountList, RemoveEntry) {
  struct Case { std::string list, name, result; };
  const Case cases[] = {
      {"Aatrox.zip\r\nSkinA.zip\r\nYasuo.zip", "SkinA", "Aatrox.zip\r\nYasuo.zip"},
      {"Aatrox.zip\r\nSkinA.zip", "SkinA", "Aatrox.zip"},
      {"Aatrox.zip\r\nSkinA.zip\r\nSkinA.zip", "SkinA", "Aatrox.zip"},
      {"\r\nSkinA.zip", "SkinA", ""},
      {"SkinA.zip\r\nAatrox.zip", "SkinA", "Aatrox.zip"},          // first line, break after it
      {"SkinA.zip\r\nSkinA.zip\r\nAatrox.zip", "SkinA", "Aatrox.zip"},
      {"SkinA.zip", "SkinA", ""},
      {"", "SkinA", ""},
      {"Aatrox.zip\r\nSkinA.zip2.zip", "SkinA", "Aatrox.zip\r\nSkinA.zip2.zip"},
      {"MySkinA.zip\r\nSkinA.zip", "SkinA", "MySkinA.zip"},
      {"a\r\nSkinA.zip\nb", "SkinA", "a\nb"},                      // the break before it goes
      {"a\r\nSkinA.zip\r\n", "SkinA", "a\r\n"},                    // a trailing break stays
      {bytes("a\0b\r\nSkinA.zip\r\nc\0d"), "SkinA", bytes("a\0b\r\nc\0d")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list + " - " + c.name);
    EXPECT_EQ(remove_entry(c.list, c.name), c.result);
  }
}

// Found by the mount-list fuzzer: the lone LF after a removed line joined the CR that ends the
// line before it into a CR LF break, which made that line an entry.
TEST(MountList, RemovingKeepsALineThatEndsInACr) {
  struct Case { std::string list, name, result; };
  const Case cases[] = {
      {".zip\r\r\n.zip\n", "", ".zip\r\r\n"},
      {"SkinA.zip\r\r\nSkinA.zip\nb", "SkinA", "SkinA.zip\r\r\nb"},
      {"a\r\r\nSkinA.zip\nSkinA.zip\nb", "SkinA", "a\r\r\nb"},
      {"a\r\r\nSkinA.zip", "SkinA", "a\r"},  // the last line still takes the break before it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list + " - " + c.name);
    const std::string result = remove_entry(c.list, c.name);
    EXPECT_EQ(result, c.result);
    EXPECT_FALSE(is_mounted(result, c.name));
  }
}

TEST(MountList, MountTwiceThenUnmountGivesTheOriginalBytes) {
  const std::string original = std::string(default_mount_list()) + "\r\nOther.zip";
  const std::string twice = add_entry(add_entry(original, "SkinA"), "SkinA");
  EXPECT_EQ(twice, original + "\r\nSkinA.zip");
  EXPECT_EQ(remove_entry(twice, "SkinA"), original);
  // Mount A, mount B, delete A: the list as before A, then B.
  EXPECT_EQ(remove_entry(add_entry(add_entry(original, "A"), "B"), "A"), original + "\r\nB.zip");
}

TEST(MountList, ReadTellsMissingFromUnreadableAndKeepsZeroBytes) {
  fakes::FakeDisk disk;
  const std::string folder = "D:\\Games\\LOL";
  disk.folders.insert(folder + "\\Game");
  const std::string path = mount_list_path(folder);
  EXPECT_EQ(path, "D:\\Games\\LOL\\Game\\ClientZips.txt");

  FileRead read = read_mount_list(disk, folder);  // missing: the empty list
  EXPECT_EQ(read.status, ReadStatus::ok);
  EXPECT_EQ(read.bytes, "");

  disk.files[path] = bytes("Aatrox.zip\0junk\r\nSkinA.zip");
  EXPECT_EQ(read_mount_list(disk, folder).bytes, disk.files[path]);

  disk.files[path] = std::string(kMaxGameTextFileSize + 1, 'x');  // no list is that large
  read = read_mount_list(disk, folder);
  EXPECT_EQ(read.status, ReadStatus::unreadable);
  EXPECT_EQ(read.error, system_error::kFileTooLarge);

  disk.read_errors[path] = system_error::kSharingViolation;
  read = read_mount_list(disk, folder);
  EXPECT_EQ(read.status, ReadStatus::unreadable);
  EXPECT_EQ(read.error, system_error::kSharingViolation);

  EXPECT_EQ(write_default_mount_list(disk, folder), system_error::kNone);
  EXPECT_EQ(disk.files[path], default_mount_list());
  disk.write_errors[path] = system_error::kAccessDenied;
  EXPECT_EQ(write_mount_list(disk, folder, "x"), system_error::kAccessDenied);
}

}  // namespace
}  // namespace km
