#include "commands/import.h"

#include "commands/failure_reason.h"
#include "gamefiles/catalogue.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/mount_list.h"
#include "gamefiles/text_rules.h"
#include "gamefiles/zip_archive.h"

namespace km {

namespace {

const char kFormatTitle[] = "信息:格式错误！";
const char kNotZipName[] = "请拖入ZIP格式文件               ";
const char kRarMessage[] = "软件暂时不支持RAR格式\r\n请先解压，然后重新压缩成ZIP格式再导入";
const char kNotZipArchive[] = "文件不是有效的ZIP压缩包，请重新压缩成ZIP格式再导入";
const char kNameClash[] = "游戏目录中已存在同名文件，请改名后再导入！";
const char kImportFailed[] = "皮肤导入失败！";

void refuse_format(CommandContext& ctx, const char* text) { ctx.messages.show(text, MessageKind::failure, kFormatTitle); }
void fail(CommandContext& ctx, const std::string& reason) {
  ctx.messages.show(failure_text(kImportFailed, reason), MessageKind::failure);
}

bool ends_with(const std::string& text, const char* suffix) { return right_part(text, 4) == suffix; }

// The catalogue is read the way the game's other tools read it: a name with blanks at its ends or
// quotes around it would come back as another name for them.
bool reads_back_whole(const std::string& skin_name) { return reads_back_bare(skin_name); }

enum class ZipCheck { zip, not_zip, unreadable };
ZipCheck check_zip(Disk& disk, const std::string& path, SystemError& error) {
  const FilePart tail = disk.read_tail(path, kZipTailSize);
  error = tail.error;
  if (tail.status != ReadStatus::ok) return ZipCheck::unreadable;
  const ZipTailVerdict verdict = check_zip_tail(tail.bytes, tail.file_size);
  if (verdict.kind == ZipTailVerdict::zip) return ZipCheck::zip;
  if (verdict.kind == ZipTailVerdict::not_zip) return ZipCheck::not_zip;
  const FilePart start = disk.read_at(path, verdict.offset, 4);
  error = start.error;
  if (start.status != ReadStatus::ok) return ZipCheck::unreadable;
  return is_central_directory_start(start.bytes) ? ZipCheck::zip : ZipCheck::not_zip;
}

// The status the start-up load would show for the skin.
const char* mount_status(CommandContext& ctx, const std::string& skin_name) {
  const FileRead list = read_mount_list(ctx.disk, ctx.install_folder);
  return MountListLines(list.bytes).has_entry(skin_name) ? kMounted : kNotMounted;
}

void add_row(CommandContext& ctx, const std::string& skin_name) {
  const int row = ctx.list.append_row();
  ctx.list.set_cell(row, kNameColumn, skin_name);
  ctx.list.set_cell(row, kStatusColumn, mount_status(ctx, skin_name));
  ctx.list.repaint_now();
}

}  // namespace

std::string dropped_file_name(const std::string& path) {
  const int backslash = find_last(path, "\\");
  return backslash == -1 ? path : path.substr(static_cast<size_t>(backslash));
}

std::string skin_name_of(const std::string& file_name) { return replace_text(file_name, ".zip"); }

std::optional<ImportCopy> import_drop(CommandContext& ctx, const DroppedFiles& drop) {
  // Two or more paths never pass: the shell's list of them ends in a line break.
  const std::string path = drop.paths.size() == 1 ? drop.paths[0] : std::string();
  if (!ends_with(path, ".zip")) {
    refuse_format(ctx, drop.paths.size() == 1 && ends_with(path, ".rar") ? kRarMessage : kNotZipName);
    return std::nullopt;
  }
  if (drop.unmappable_name) {
    fail(ctx, kReasonUnmappableName);
    return std::nullopt;
  }
  const std::string file_name = dropped_file_name(path);
  const std::string skin_name = skin_name_of(file_name);
  if (ctx.disk.is_folder(path) || skin_name.empty() || !reads_back_whole(skin_name) ||
      !is_plain_file_name(skin_name)) {
    refuse_format(ctx, kNotZipName);
    return std::nullopt;
  }
  if (!game_folder_present(ctx)) {
    fail(ctx, kReasonNoGameFolder);
    return std::nullopt;
  }
  SystemError error = system_error::kNone;
  switch (check_zip(ctx.disk, path, error)) {
    case ZipCheck::zip:
      break;
    case ZipCheck::not_zip:
      refuse_format(ctx, kNotZipArchive);
      return std::nullopt;
    case ZipCheck::unreadable:
      fail(ctx, reason_for_error(error, ctx.disk));
      return std::nullopt;
  }

  // From here to the catalogue write, under the game files' lock: another copy of the program
  // importing at the same moment must not lose our catalogue line, nor we its.
  GameFilesLock lock(ctx.disk);
  auto fail_unlocked = [&](const std::string& reason) {
    lock.release();
    fail(ctx, reason);
    return std::nullopt;
  };
  if (!lock.held()) return fail_unlocked(kReasonInUse);

  // The catalogue as it is now, not as the list was loaded: another copy of the program may have
  // changed it. One we cannot read is never rewritten from a guess.
  const CatalogueFile catalogue = read_catalogue(ctx.disk, ctx.install_folder);
  if (catalogue.status == ReadStatus::unreadable) return fail_unlocked(reason_for_game_file_error(ctx, catalogue.error));
  bool listed = false;
  for (const CatalogueEntry& entry : catalogue_entries(catalogue.bytes)) listed = listed || entry.value == skin_name;
  const std::string target = pack_path(ctx.install_folder, skin_name);
  if (listed) {
    // The pack itself dropped back onto the window: moving it over itself could only lose it.
    if (ctx.disk.same_file(path, target)) return std::nullopt;
  } else if (ctx.disk.is_file(target) || ctx.disk.is_folder(target)) {
    // Most likely one of the game's own archives: replacing it would break the game.
    lock.release();
    ctx.messages.show(kNameClash, MessageKind::failure);
    return std::nullopt;
  }

  error = ctx.disk.rename_file(path, target, listed);
  if (error == system_error::kNotSameDevice) return ImportCopy{path, target, file_name, skin_name, listed};
  if (error) return fail_unlocked(reason_for_game_file_error(ctx, error));
  if (listed) return std::nullopt;  // the row and the slot are there already
  error = write_catalogue(ctx.disk, ctx.install_folder, catalogue_with_value(catalogue.bytes, skin_name));
  if (error) {
    // The user's file goes back where it was: nothing of this import is left.
    ctx.disk.rename_file(target, path, false);
    return fail_unlocked(reason_for_game_file_error(ctx, error));
  }
  lock.release();
  add_row(ctx, skin_name);
  return std::nullopt;
}

void finish_import_copy(CommandContext& ctx, const ImportCopy& copy, SystemError copy_error) {
  if (copy_error == system_error::kCancelled) return;
  if (copy_error) return fail(ctx, reason_for_game_file_error(ctx, copy_error));
  if (!copy.listed) {
    SystemError error;
    {
      GameFilesLock lock(ctx.disk);
      const CatalogueFile catalogue = read_catalogue(ctx.disk, ctx.install_folder);
      error = !lock.held() ? system_error::kSharingViolation
              : catalogue.status == ReadStatus::unreadable
                  ? catalogue.error
                  : write_catalogue(ctx.disk, ctx.install_folder, catalogue_with_value(catalogue.bytes, copy.skin_name));
      if (error) ctx.disk.delete_file(copy.target);
    }
    if (error) return fail(ctx, reason_for_game_file_error(ctx, error));
    add_row(ctx, copy.skin_name);
  }
  // The pack is safe in the Game folder; a dropped file that cannot go stays where it is.
  ctx.disk.delete_file(copy.source);
}

}  // namespace km
