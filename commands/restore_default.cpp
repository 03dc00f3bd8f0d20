#include "commands/commands.h"
#include "commands/failure_reason.h"
#include "gamefiles/mount_list.h"

namespace km {

void restore_default(CommandContext& ctx) {
  const char* const kFailed = "恢复默认失败！";
  if (!game_folder_present(ctx)) {
    ctx.messages.show(failure_text(kFailed, kReasonNoGameFolder), MessageKind::failure);
    return;
  }
  if (const SystemError error = write_default_mount_list(ctx.disk, ctx.install_folder)) {
    // The game's list is as it was; telling the user it was restored and quitting would hide that.
    ctx.messages.show(failure_text(kFailed, reason_for_game_file_error(ctx, error)), MessageKind::failure);
    return;
  }
  ctx.program.hide_main_window();
  ctx.messages.show("恢复默认成功，软件已退出，请重新运行！", MessageKind::information);
  ctx.program.end_program(0);
}

}  // namespace km
