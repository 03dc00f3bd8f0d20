#include <optional>

#include "commands/commands.h"
#include "commands/failure_reason.h"
#include "gamefiles/catalogue.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/mount_list.h"

namespace km {

namespace {

struct Deleted {
  bool done = false;
  bool entries_removed = false;  // the game's list no longer names the pack
  std::string reason;            // why it stopped
};

// The file work of Delete, under the game files' lock. The order keeps the game safe: the game's
// list first, so it never names a pack that is gone; the catalogue last, so a skin whose pack
// could not go stays listed and can be deleted again.
Deleted delete_files(CommandContext& ctx, int row, const std::string& name) {
  Deleted result;
  GameFilesLock lock(ctx.disk);
  if (!lock.held()) result.reason = kReasonInUse;
  else if (!game_folder_present(ctx)) result.reason = kReasonNoGameFolder;
  if (!result.reason.empty()) return result;

  // Both files are read before anything changes: an unreadable one stops Delete untouched.
  const CatalogueFile catalogue = read_catalogue(ctx.disk, ctx.install_folder);
  if (catalogue.status == ReadStatus::unreadable) {
    result.reason = reason_for_game_file_error(ctx, catalogue.error);
    return result;
  }
  const FileRead list = read_mount_list(ctx.disk, ctx.install_folder);
  if (list.status != ReadStatus::ok) {
    result.reason = reason_for_game_file_error(ctx, list.error);
    return result;
  }

  if (find_entry(list.bytes, name) != -1) {
    if (const SystemError error = write_mount_list(ctx.disk, ctx.install_folder, remove_entry(list.bytes, name))) {
      result.reason = reason_for_game_file_error(ctx, error);
      return result;
    }
    result.entries_removed = true;
  }

  // A name edited by hand into the catalogue may point outside the Game folder: then no pack goes.
  if (is_plain_file_name(name)) {
    const std::string pack = pack_path(ctx.install_folder, name);
    if (ctx.disk.is_file(pack)) {
      const SystemError error = ctx.disk.recycle_file(pack);
      if (error && error != system_error::kFileNotFound) {
        result.reason = reason_for_game_file_error(ctx, error);
        return result;
      }
    }
  }

  if (catalogue.status == ReadStatus::ok) {
    if (const std::optional<std::string> rewritten = catalogue_without_skin(catalogue.bytes, row, name)) {
      if (const SystemError error = write_catalogue(ctx.disk, ctx.install_folder, *rewritten)) {
        result.reason = reason_for_game_file_error(ctx, error);
        return result;
      }
    }
  }
  result.done = true;
  return result;
}

}  // namespace

void delete_skin(CommandContext& ctx) {
  const int row = ctx.list.selection();
  if (row == -1) {
    ctx.messages.show("未找到删除皮肤！", MessageKind::failure);
    return;
  }
  const Deleted deleted = delete_files(ctx, row, ctx.list.cell(row, kNameColumn));
  if (!deleted.done) {
    if (deleted.entries_removed) ctx.list.set_cell(row, kStatusColumn, kNotMounted);
    ctx.messages.show(failure_text("皮肤删除失败！", deleted.reason), MessageKind::failure);
    return;
  }
  ctx.list.delete_row(row);
  ctx.list.repaint_now();
  ctx.messages.show("皮肤删除成功！", MessageKind::information);
}

}  // namespace km
