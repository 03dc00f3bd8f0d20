#include "commands/failure_reason.h"

#include "gamefiles/game_paths.h"
#include "gamefiles/text_rules.h"

namespace km {

const char* const kReasonInUse = "文件正被其他程序使用（游戏是否正在运行？）";
const char* const kReasonAccessDenied = "没有写入游戏目录的权限，请以管理员身份运行本程序";
const char* const kReasonReadOnly = "文件是只读的";
const char* const kReasonDiskFull = "磁盘空间不足";
const char* const kReasonNoGameFolder = "找不到游戏目录";
const char* const kReasonTooLarge = "文件过大";
const char* const kReasonPathCharacters = "皮肤名称含有路径字符";
const char* const kReasonUnmappableName = "文件名含有系统不支持的字符，请改名后再导入";

std::string reason_for_error(SystemError error, Disk& disk) {
  namespace e = system_error;
  switch (error) {
    case e::kSharingViolation:
    case e::kLockViolation:
      return kReasonInUse;
    case e::kAccessDenied:
      return kReasonAccessDenied;
    case e::kFileReadOnly:
      return kReasonReadOnly;
    case e::kDiskFull:
    case e::kHandleDiskFull:
      return kReasonDiskFull;
    case e::kFileTooLarge:
      return kReasonTooLarge;
    default:
      break;
  }
  std::string text = disk.error_text(error);
  if (text.empty()) text = "错误代码 " + number_to_text(static_cast<std::int32_t>(error));
  return text;
}

bool game_folder_present(CommandContext& ctx) {
  return !ctx.install_folder.empty() && ctx.disk.is_folder(game_folder_path(ctx.install_folder));
}

std::string reason_for_game_file_error(CommandContext& ctx, SystemError error) {
  if (!game_folder_present(ctx)) return kReasonNoGameFolder;
  return reason_for_error(error, ctx.disk);
}

std::string reason_pack_missing(const std::string& skin_name) {
  return "游戏目录中没有 " + skin_name + ".zip，请重新导入";
}

std::string failure_text(const char* first_line, const std::string& reason) {
  return std::string(first_line) + "\r\n" + reason;
}

}  // namespace km
