#include "commands/commands.h"
#include "commands/failure_reason.h"
#include "gamefiles/mount_list.h"

namespace km {

void restore_default(CommandContext& ctx) {
  const char* const kFailed = "恢复默认失败！";
  std::string reason;
  {
    GameFilesLock lock(ctx.disk);
    if (!lock.held()) reason = kReasonInUse;
    else if (!game_folder_present(ctx)) reason = kReasonNoGameFolder;
    else if (const SystemError error = write_default_mount_list(ctx.disk, ctx.install_folder))
      reason = reason_for_game_file_error(ctx, error);
  }
  if (!reason.empty()) {
    // The game's list is as it was; telling the user it was restored and quitting would hide that.
    ctx.messages.show(failure_text(kFailed, reason), MessageKind::failure);
    return;
  }
  ctx.program.hide_main_window();
  ctx.messages.show("恢复默认成功，软件已退出，请重新运行！", MessageKind::information);
  ctx.program.end_program(0);
}

}  // namespace km
