#include "commands/import.h"

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "commands/failure_reason.h"
#include "fakes/fakes.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/zip_archive.h"

namespace km {
namespace {

using fakes::FakeDisk;
using Rows = std::vector<std::vector<std::string>>;
namespace e = system_error;

const std::string kFormatTitle = "信息:格式错误！";
const std::string kNotZipName = "请拖入ZIP格式文件               ";
const std::string kRar = "软件暂时不支持RAR格式\r\n请先解压，然后重新压缩成ZIP格式再导入";
const std::string kNotZipArchive = "文件不是有效的ZIP压缩包，请重新压缩成ZIP格式再导入";
const std::string kClash = "游戏目录中已存在同名文件，请改名后再导入！";
std::string import_failed(const std::string& reason) { return failure_text("皮肤导入失败！", reason); }

std::string le(std::uint64_t value, int width) {
  std::string bytes;
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
  return bytes;
}

// A ZIP archive's outline: `body` bytes of file data, one central directory entry (or none), the
// end record with its comment; ZIP64 moves the directory's numbers into a ZIP64 record.
std::string zip_bytes(size_t body, int entries = 1, bool zip64 = false, const std::string& comment = "") {
  std::string file(body, 'd');
  const std::string directory = entries ? "PK\x01\x02" + std::string(42, '\0') : std::string();
  file += directory;
  if (zip64) {
    const size_t record = file.size();
    file += "PK\x06\x06" + le(44, 8) + std::string(4, '\0') + le(0, 8) + le(entries, 8) + le(entries, 8) +
            le(directory.size(), 8) + le(body, 8);
    file += "PK\x06\x07" + le(0, 4) + le(record, 8) + le(1, 4);
    file += "PK\x05\x06" + std::string(6, '\0') + le(0xFFFF, 2) + le(0xFFFFFFFF, 4) + le(0xFFFFFFFF, 4);
  } else {
    file += "PK\x05\x06" + std::string(4, '\0') + le(entries, 2) + le(entries, 2) + le(directory.size(), 4) +
            le(body, 4);
  }
  return file + le(comment.size(), 2) + comment;
}

struct World {
  std::string install_folder = "D:\\LOL";
  FakeDisk disk;
  fakes::FakeSkinList list;
  fakes::FakeUserMessages messages;
  fakes::FakeProgram program;
  CommandContext ctx{install_folder, disk, list, messages, program};

  World() {
    disk.folders.insert("D:\\LOL\\Game");
    disk.folders.insert("D:\\Packs");
    disk.folders.insert("E:\\Packs");
  }
  std::string game(const std::string& name) const { return game_folder_path(install_folder) + name; }
  std::string catalogue() const { return catalogue_path(install_folder); }
  void listed(const std::vector<std::string>& names, const std::string& mounted = "") {
    std::string file = "[皮肤包]\r\n";
    for (size_t i = 0; i < names.size(); ++i) {
      file += "英雄" + std::to_string(i + 1) + "=" + names[i] + "\r\n";
      disk.files[game(names[i] + ".zip")] = zip_bytes(1);
      list.rows.push_back({names[i], mounted == names[i] ? kMounted : kNotMounted});
    }
    disk.files[catalogue()] = file;
  }
  std::string file(const std::string& path) const {
    auto it = disk.files.find(path);
    return it == disk.files.end() ? "<missing>" : it->second;
  }
  std::string message() const {
    if (messages.shown.empty()) return "";
    const fakes::ShownMessage& m = messages.shown.back();
    return (m.title == kDefaultMessageTitle ? "" : "[" + m.title + "] ") + m.text +
           (messages.shown.size() > 1 ? " <and more>" : "");
  }
};

TEST(ImportNames, FileSkinAndStoredNames) {
  struct Case { std::string path, file_name, skin_name; };
  const Case cases[] = {
      {"X:\\Packs\\Ahri.zip", "Ahri.zip", "Ahri"},
      {"X:\\Packs\\a.zip.zip", "a.zip.zip", "a"},
      {"X:\\Packs\\a.zipb.zip", "a.zipb.zip", "ab"},
      {"X:\\a.zip\\b.zip", "b.zip", "b"},
      {"Ahri.zip", "Ahri.zip", "Ahri"},  // no folder at all
      {"X:\\.zip", ".zip", ""},
      {"X:\\.zip.zip", ".zip.zip", ""},
      // "表" is B1 ED and "邃" is E5 5C in GBK: a second byte 0x5C is no backslash.
      {"X:\\包\\表\xe5\x5c.zip", "表\xe5\x5c.zip", "表\xe5\x5c"},
      {"X:\\A,B.zip", "A,B.zip", "A,B"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dropped_file_name(c.path), c.file_name) << c.path;
    EXPECT_EQ(skin_name_of(c.file_name), c.skin_name) << c.path;
  }
}

// The tail check sees only the bytes it is given: every tail length of every outline, each in a
// buffer of exactly that size, so the sanitizer catches any read past either end.
TEST(ZipTail, NeverReadsOutsideTheTail) {
  const std::string outlines[] = {zip_bytes(0, 0), zip_bytes(10), zip_bytes(10, 1, true), zip_bytes(3, 1, false, "hi"),
                                  std::string("PK\x05\x06") + std::string(18, '\xFF')};
  for (const std::string& file : outlines) {
    for (size_t length = 0; length <= file.size(); ++length) {
      std::unique_ptr<char[]> exact(new char[length ? length : 1]);
      std::copy(file.end() - static_cast<long>(length), file.end(), exact.get());
      const ZipTailVerdict verdict = check_zip_tail(std::string_view(exact.get(), length), file.size());
      if (verdict.kind == ZipTailVerdict::check_directory_start) {
        EXPECT_LT(verdict.offset, file.size() - length);
      }
    }
  }
}

// The verdict on whole files. Found by the zip-tail fuzzer: an archive of exactly 65,535 entries
// carries all ones in its count with no ZIP64 record (Python's zipfile writes it so) and was
// refused; only a locator before the end record sends the check to a ZIP64 record.
TEST(ZipTail, Verdicts) {
  std::string broken_locator = zip_bytes(10, 1, true);
  broken_locator[broken_locator.size() - 22 - 20 + 8] ^= 1;  // points one byte off the ZIP64 record
  std::string no_directory = zip_bytes(10);
  no_directory[10] = 'X';
  struct Case { const char* what; std::string file; bool zip; };
  const Case cases[] = {
      {"an empty archive", zip_bytes(0, 0), true},
      {"one entry", zip_bytes(10), true},
      {"a comment", zip_bytes(10, 1, false, "PK\x05\x06 in a comment"), true},
      {"ZIP64", zip_bytes(10, 1, true), true},
      {"65,535 entries, no ZIP64 record", zip_bytes(10, 0xFFFF), true},
      {"a ZIP64 locator that misses its record", broken_locator, false},
      {"a directory that does not start with its signature", no_directory, false},
      {"cut short by one byte", zip_bytes(10).substr(0, zip_bytes(10).size() - 1), false},
      {"bytes after the end record", zip_bytes(10) + "x", false},
      {"a RAR", "Rar!\x1a\x07\x01" + std::string(300, 'r'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(check_zip_tail(c.file, c.file.size()).kind, c.zip ? ZipTailVerdict::zip : ZipTailVerdict::not_zip);
  }
}

// The import's steps against the fake disk: what each refusal or failure says and what it leaves.
TEST(Import, EachStepAndWhatItLeaves) {
  const std::string zip = zip_bytes(100);
  struct Case {
    const char* what;
    std::vector<std::string> paths;
    std::function<void(World&)> setup;
    std::string message;  // "[title] text" for titled boxes; empty: none
    Rows rows;            // the list afterwards
    std::vector<std::pair<std::string, std::string>> files;  // path -> bytes afterwards
  };
  const auto put = [zip](const std::string& path) { return [zip, path](World& w) { w.disk.files[path] = zip; }; };
  const std::string no_catalogue = "<missing>";
  const Case cases[] = {
      {"a pack on the same drive is renamed in, recorded and listed",
       {"D:\\Packs\\阿狸.zip"}, put("D:\\Packs\\阿狸.zip"), "", {{"阿狸", kNotMounted}},
       {{"D:\\Packs\\阿狸.zip", "<missing>"}, {"D:\\LOL\\Game\\阿狸.zip", zip},
        {"D:\\LOL\\Game\\皮肤.ini", "[皮肤包]\r\n英雄1=阿狸\r\n"}}},
      {"stored under the skin name; the mount list already names it",
       {"D:\\Packs\\a.zip.zip"},
       [&](World& w) {
         put("D:\\Packs\\a.zip.zip")(w);
         w.disk.files[w.game("ClientZips.txt")] = "Jinx.zip\r\na.zip";
       },
       "", {{"a", kMounted}}, {{"D:\\LOL\\Game\\a.zip", zip}, {"D:\\LOL\\Game\\a.zip.zip", "<missing>"}}},
      {".ZIP is not .zip", {"D:\\Packs\\Ahri.ZIP"}, put("D:\\Packs\\Ahri.ZIP"), "[" + kFormatTitle + "] " + kNotZipName,
       {}, {{"D:\\Packs\\Ahri.ZIP", zip}}},
      {".rar", {"D:\\Packs\\Ahri.rar"}, {}, "[" + kFormatTitle + "] " + kRar, {}, {}},
      {".RAR", {"D:\\Packs\\Ahri.RAR"}, {}, "[" + kFormatTitle + "] " + kNotZipName, {}, {}},
      {"two files, even two packs", {"D:\\Packs\\a.zip", "D:\\Packs\\b.zip"},
       [&](World& w) { put("D:\\Packs\\a.zip")(w); put("D:\\Packs\\b.zip")(w); },
       "[" + kFormatTitle + "] " + kNotZipName, {}, {{"D:\\Packs\\a.zip", zip}, {"D:\\Packs\\b.zip", zip}}},
      {"a name the code page cannot hold", {"D:\\Packs\\?.zip"}, put("D:\\Packs\\?.zip"),
       import_failed(kReasonUnmappableName), {}, {{"D:\\Packs\\?.zip", zip}}},
      {"a folder", {"D:\\Packs\\Packs.zip"}, [](World& w) { w.disk.folders.insert("D:\\Packs\\Packs.zip"); },
       "[" + kFormatTitle + "] " + kNotZipName, {}, {}},
      {"an empty skin name", {"D:\\Packs\\.zip.zip"}, put("D:\\Packs\\.zip.zip"),
       "[" + kFormatTitle + "] " + kNotZipName, {}, {{"D:\\Packs\\.zip.zip", zip}}},
      {"a name that reads back shorter", {"D:\\Packs\\ Ahri.zip"}, put("D:\\Packs\\ Ahri.zip"),
       "[" + kFormatTitle + "] " + kNotZipName, {}, {{"D:\\Packs\\ Ahri.zip", zip}}},
      {"a name in quotes", {"D:\\Packs\\\"Ahri\".zip"}, put("D:\\Packs\\\"Ahri\".zip"),
       "[" + kFormatTitle + "] " + kNotZipName, {}, {}},
      {"no game folder", {"D:\\Packs\\Ahri.zip"},
       [&](World& w) { put("D:\\Packs\\Ahri.zip")(w); w.disk.folders.erase("D:\\LOL\\Game"); },
       import_failed(kReasonNoGameFolder), {}, {{"D:\\Packs\\Ahri.zip", zip}}},
      {"a RAR renamed to .zip", {"D:\\Packs\\Ahri.zip"},
       [](World& w) { w.disk.files["D:\\Packs\\Ahri.zip"] = "Rar!\x1a\x07\x01" + std::string(300, 'r'); },
       "[" + kFormatTitle + "] " + kNotZipArchive, {}, {{"D:\\Packs\\Ahri.zip", "Rar!\x1a\x07\x01" + std::string(300, 'r')}}},
      {"a ZIP cut short", {"D:\\Packs\\Ahri.zip"},
       [&](World& w) { w.disk.files["D:\\Packs\\Ahri.zip"] = zip.substr(0, zip.size() - 1); },
       "[" + kFormatTitle + "] " + kNotZipArchive, {}, {{"D:\\LOL\\Game\\Ahri.zip", "<missing>"}}},
      {"a large ZIP whose directory starts before the tail", {"D:\\Packs\\Big.zip"},
       [](World& w) { w.disk.files["D:\\Packs\\Big.zip"] = zip_bytes(200000); }, "", {{"Big", kNotMounted}},
       {{"D:\\LOL\\Game\\Big.zip", zip_bytes(200000)}}},
      {"a large file that only looks like a ZIP at its end", {"D:\\Packs\\Big.zip"},
       [](World& w) {
         std::string fake = zip_bytes(200000);
         fake[200000] = 'X';
         w.disk.files["D:\\Packs\\Big.zip"] = fake;
       },
       "[" + kFormatTitle + "] " + kNotZipArchive, {}, {{"D:\\LOL\\Game\\Big.zip", "<missing>"}}},
      {"empty and ZIP64 archives", {"D:\\Packs\\Empty.zip"},
       [](World& w) { w.disk.files["D:\\Packs\\Empty.zip"] = zip_bytes(0, 0); }, "", {{"Empty", kNotMounted}}, {}},
      {"ZIP64", {"D:\\Packs\\Z64.zip"}, [](World& w) { w.disk.files["D:\\Packs\\Z64.zip"] = zip_bytes(70000, 1, true); },
       "", {{"Z64", kNotMounted}}, {}},
      {"a dropped file that cannot be read", {"D:\\Packs\\Ahri.zip"},
       [&](World& w) { w.disk.read_errors["D:\\Packs\\Ahri.zip"] = e::kSharingViolation; },
       import_failed(kReasonInUse), {}, {}},
      {"an unreadable catalogue is not rewritten", {"D:\\Packs\\Ahri.zip"},
       [&](World& w) { put("D:\\Packs\\Ahri.zip")(w); w.disk.read_errors[w.catalogue()] = e::kSharingViolation; },
       import_failed(kReasonInUse), {}, {{"D:\\Packs\\Ahri.zip", zip}, {"D:\\LOL\\Game\\Ahri.zip", "<missing>"}}},
      {"one of the game's own archives", {"D:\\Packs\\Jinx.zip"},
       [&](World& w) { put("D:\\Packs\\Jinx.zip")(w); w.disk.files[w.game("Jinx.zip")] = "game's own"; }, kClash, {},
       {{"D:\\Packs\\Jinx.zip", zip}, {"D:\\LOL\\Game\\Jinx.zip", "game's own"}}},
      {"re-import of a listed, mounted skin replaces its pack only", {"D:\\Packs\\Ahri.zip"},
       [&](World& w) { w.listed({"Lux", "Ahri"}, "Ahri"); put("D:\\Packs\\Ahri.zip")(w); }, "",
       {{"Lux", kNotMounted}, {"Ahri", kMounted}},
       {{"D:\\Packs\\Ahri.zip", "<missing>"}, {"D:\\LOL\\Game\\Ahri.zip", zip},
        {"D:\\LOL\\Game\\皮肤.ini", "[皮肤包]\r\n英雄1=Lux\r\n英雄2=Ahri\r\n"}}},
      {"the listed pack dropped from the Game folder itself, spelled otherwise", {"d:\\lol\\game\\Ahri.zip"},
       [](World& w) {
         w.listed({"Ahri"});
         w.disk.files[w.game("Ahri.zip")] = zip_bytes(5);
         w.disk.aliases["d:\\lol\\game\\Ahri.zip"] = w.game("Ahri.zip");
       },
       "", {{"Ahri", kNotMounted}}, {{"D:\\LOL\\Game\\Ahri.zip", zip_bytes(5)}}},
      {"another case of a listed name is another skin, and its file the same one: a clash",
       {"D:\\LOL\\Game\\AHRI.zip"},
       [](World& w) {
         w.listed({"Ahri"});
         w.disk.aliases[w.game("AHRI.zip")] = w.game("Ahri.zip");
       },
       kClash, {{"Ahri", kNotMounted}}, {{"D:\\LOL\\Game\\Ahri.zip", zip_bytes(1)}}},
      {"an unlisted pack dropped from the Game folder is a clash", {"D:\\LOL\\Game\\Ahri.zip"},
       put("D:\\LOL\\Game\\Ahri.zip"), kClash, {}, {{"D:\\LOL\\Game\\Ahri.zip", zip}}},
      {"the Game folder refuses the pack", {"D:\\Packs\\Ahri.zip"},
       [&](World& w) { put("D:\\Packs\\Ahri.zip")(w); w.disk.write_errors[w.game("Ahri.zip")] = e::kAccessDenied; },
       import_failed(kReasonAccessDenied), {}, {{"D:\\Packs\\Ahri.zip", zip}}},
      {"a failed catalogue write renames the pack back", {"D:\\Packs\\Ahri.zip"},
       [&](World& w) { put("D:\\Packs\\Ahri.zip")(w); w.disk.write_errors[w.catalogue()] = e::kFileReadOnly; },
       import_failed(kReasonReadOnly), {},
       {{"D:\\Packs\\Ahri.zip", zip}, {"D:\\LOL\\Game\\Ahri.zip", "<missing>"}, {"D:\\LOL\\Game\\皮肤.ini", "<missing>"}}},
      {"another drive: nothing happens inside the drop", {"E:\\Packs\\Ahri.zip"}, put("E:\\Packs\\Ahri.zip"), "", {},
       {{"E:\\Packs\\Ahri.zip", zip}, {"D:\\LOL\\Game\\Ahri.zip", "<missing>"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    World w;
    if (c.setup) c.setup(w);
    DroppedFiles drop{c.paths, c.paths[0].find('?') != std::string::npos};
    const std::optional<ImportCopy> copy = import_drop(w.ctx, drop);
    EXPECT_EQ(copy.has_value(), c.paths[0][0] == 'E');
    EXPECT_EQ(w.message(), c.message);
    EXPECT_EQ(w.list.rows, c.rows);
    for (const auto& [path, bytes] : c.files) EXPECT_EQ(w.file(path), bytes) << path;
  }
}

// A pack from another drive after its copy: the dropped file goes only once the import is done.
TEST(Import, FinishingACopyFromAnotherDrive) {
  const std::string zip = zip_bytes(10);
  struct Case {
    const char* what;
    bool listed;
    SystemError copy_error;
    std::function<void(World&)> setup;
    std::string message;
    Rows rows;
    std::string source_after, catalogue_after;
  };
  const Case cases[] = {
      {"done", false, e::kNone, {}, "", {{"Ahri", kNotMounted}}, "<missing>", "[皮肤包]\r\n英雄1=Ahri\r\n"},
      {"cancelled", false, e::kCancelled, {}, "", {}, zip, "<missing>"},
      {"the copy failed", false, e::kDiskFull, {}, import_failed(kReasonDiskFull), {}, zip, "<missing>"},
      {"the catalogue write failed: the copy goes again", false, e::kNone,
       [](World& w) { w.disk.write_errors[w.catalogue()] = e::kSharingViolation; }, import_failed(kReasonInUse), {},
       zip, "<missing>"},
      {"the dropped file cannot go: still done", false, e::kNone,
       [](World& w) { w.disk.write_errors["E:\\Packs\\Ahri.zip"] = e::kAccessDenied; }, "", {{"Ahri", kNotMounted}},
       zip, "[皮肤包]\r\n英雄1=Ahri\r\n"},
      {"a re-import adds no slot or row", true, e::kNone, [](World& w) { w.listed({"Ahri"}); }, "",
       {{"Ahri", kNotMounted}}, "<missing>", "[皮肤包]\r\n英雄1=Ahri\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    World w;
    w.disk.files["E:\\Packs\\Ahri.zip"] = zip;
    if (c.setup) c.setup(w);
    // What the window's copy leaves in the Game folder when it succeeds.
    if (!c.copy_error) w.disk.files[w.game("Ahri.zip")] = zip;
    finish_import_copy(w.ctx, ImportCopy{"E:\\Packs\\Ahri.zip", w.game("Ahri.zip"), "Ahri.zip", "Ahri", c.listed},
                       c.copy_error);
    EXPECT_EQ(w.message(), c.message);
    EXPECT_EQ(w.list.rows, c.rows);
    EXPECT_EQ(w.file("E:\\Packs\\Ahri.zip"), c.source_after);
    EXPECT_EQ(w.file(w.catalogue()), c.catalogue_after);
    const bool pack_expected = !c.copy_error && c.message.empty();
    EXPECT_EQ(w.file(w.game("Ahri.zip")) != "<missing>", pack_expected);
  }
}

}  // namespace
}  // namespace km
