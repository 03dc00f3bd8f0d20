#include "commands/commands.h"
#include "commands/failure_reason.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/mount_list.h"

namespace km {

void mount_skin(CommandContext& ctx) {
  const int row = ctx.list.selection();
  if (row == -1) {
    ctx.messages.show("未找到挂载皮肤！", MessageKind::failure);
    return;
  }
  const std::string name = ctx.list.cell(row, kNameColumn);
  auto fail = [&](const std::string& reason) {
    ctx.messages.show(failure_text("皮肤挂载失败！", reason), MessageKind::failure);
  };
  // An entry for a pack that is not there would have the game look for it; a name with path
  // characters would have it look outside the Game folder.
  if (!is_plain_file_name(name)) return fail(kReasonPathCharacters);
  if (!game_folder_present(ctx)) return fail(kReasonNoGameFolder);
  if (!ctx.disk.is_file(pack_path(ctx.install_folder, name))) return fail(reason_pack_missing(name));

  const FileRead list = read_mount_list(ctx.disk, ctx.install_folder);
  if (list.status != ReadStatus::ok) return fail(reason_for_game_file_error(ctx, list.error));
  const std::string mounted = add_entry(list.bytes, name);
  if (mounted != list.bytes) {
    if (const SystemError error = write_mount_list(ctx.disk, ctx.install_folder, mounted))
      return fail(reason_for_game_file_error(ctx, error));
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
  const std::string name = ctx.list.cell(row, kNameColumn);
  auto fail = [&](const std::string& reason) {
    ctx.messages.show(failure_text("皮肤卸载失败！", reason), MessageKind::failure);
  };
  if (!game_folder_present(ctx)) return fail(kReasonNoGameFolder);

  const FileRead list = read_mount_list(ctx.disk, ctx.install_folder);
  if (list.status != ReadStatus::ok) return fail(reason_for_game_file_error(ctx, list.error));
  if (find_entry(list.bytes, name) == -1) {
    ctx.messages.show(kNothingToUnmount, MessageKind::failure);
    return;
  }
  // The row changes only once the file has: it always tells what the game will load.
  if (const SystemError error = write_mount_list(ctx.disk, ctx.install_folder, remove_entry(list.bytes, name)))
    return fail(reason_for_game_file_error(ctx, error));
  ctx.list.set_cell(row, kStatusColumn, kNotMounted);
  ctx.messages.show("卸载皮肤成功！", MessageKind::information);
}

}  // namespace km
