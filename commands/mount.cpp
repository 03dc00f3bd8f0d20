#include <optional>

#include "commands/commands.h"
#include "commands/failure_reason.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/mount_list.h"

namespace km {

namespace {

// The file work of Mount, under the game files' lock: the reason when it failed.
std::optional<std::string> add_to_mount_list(CommandContext& ctx, const std::string& name) {
  GameFilesLock lock(ctx.disk);
  if (!lock.held()) return kReasonInUse;
  // An entry for a pack that is not there would have the game look for it.
  if (!game_folder_present(ctx)) return kReasonNoGameFolder;
  if (!ctx.disk.is_file(pack_path(ctx.install_folder, name))) return reason_pack_missing(name);

  const FileRead list = read_mount_list(ctx.disk, ctx.install_folder);
  if (list.status != ReadStatus::ok) return reason_for_game_file_error(ctx, list.error);
  const std::string mounted = add_entry(list.bytes, name);
  if (mounted == list.bytes) return std::nullopt;
  if (const SystemError error = write_mount_list(ctx.disk, ctx.install_folder, mounted))
    return reason_for_game_file_error(ctx, error);
  return std::nullopt;
}

enum class Unmounted { done, no_entry, failed };

Unmounted take_out_of_mount_list(CommandContext& ctx, const std::string& name, std::string& reason) {
  GameFilesLock lock(ctx.disk);
  if (!lock.held()) reason = kReasonInUse;
  else if (!game_folder_present(ctx)) reason = kReasonNoGameFolder;
  if (!reason.empty()) return Unmounted::failed;

  const FileRead list = read_mount_list(ctx.disk, ctx.install_folder);
  if (list.status != ReadStatus::ok) {
    reason = reason_for_game_file_error(ctx, list.error);
    return Unmounted::failed;
  }
  if (find_entry(list.bytes, name) == -1) return Unmounted::no_entry;
  if (const SystemError error = write_mount_list(ctx.disk, ctx.install_folder, remove_entry(list.bytes, name))) {
    reason = reason_for_game_file_error(ctx, error);
    return Unmounted::failed;
  }
  return Unmounted::done;
}

}  // namespace

void mount_skin(CommandContext& ctx) {
  const int row = ctx.list.selection();
  if (row == -1) {
    ctx.messages.show("未找到挂载皮肤！", MessageKind::failure);
    return;
  }
  const std::string name = ctx.list.cell(row, kNameColumn);
  // A name with path characters would have the game look outside the Game folder.
  std::optional<std::string> reason;
  if (!is_plain_file_name(name)) reason = kReasonPathCharacters;
  else reason = add_to_mount_list(ctx, name);
  if (reason) {
    ctx.messages.show(failure_text("皮肤挂载失败！", *reason), MessageKind::failure);
    return;
  }
  ctx.list.set_cell(row, kStatusColumn, kMounted);
  ctx.messages.show("挂载皮肤成功！", MessageKind::information);
}

void unmount_skin(CommandContext& ctx) {
  const char* const kNothingToUnmount = "未找到卸载皮肤！";
  const int row = ctx.list.selection();
  if (row == -1) {
    ctx.messages.show(kNothingToUnmount, MessageKind::failure);
    return;
  }
  std::string reason;
  switch (take_out_of_mount_list(ctx, ctx.list.cell(row, kNameColumn), reason)) {
    case Unmounted::no_entry:
      ctx.messages.show(kNothingToUnmount, MessageKind::failure);
      return;
    case Unmounted::failed:
      // The row keeps its status: it always tells what the game will load.
      ctx.messages.show(failure_text("皮肤卸载失败！", reason), MessageKind::failure);
      return;
    case Unmounted::done:
      break;
  }
  ctx.list.set_cell(row, kStatusColumn, kNotMounted);
  ctx.messages.show("卸载皮肤成功！", MessageKind::information);
}

}  // namespace km
