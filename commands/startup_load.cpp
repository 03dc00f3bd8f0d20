#include "commands/commands.h"
#include "commands/failure_reason.h"
#include "gamefiles/catalogue.h"
#include "gamefiles/mount_list.h"

namespace km {

void startup_load(CommandContext& ctx) {
  if (ctx.install_folder.empty()) return;
  // Both files as one moment saw them, when another copy of the program is at work on them.
  GameFilesLock lock(ctx.disk);
  const CatalogueFile catalogue = read_catalogue(ctx.disk, ctx.install_folder);
  const FileRead list = read_mount_list(ctx.disk, ctx.install_folder);
  lock.release();
  if (catalogue.status == ReadStatus::missing) return;
  if (catalogue.status == ReadStatus::unreadable) {
    // Said once, here; Import and Delete refuse to touch it for the same reason.
    ctx.messages.show(failure_text("无法读取皮肤列表文件 皮肤.ini", reason_for_game_file_error(ctx, catalogue.error)),
                      MessageKind::failure);
    return;
  }
  // One reading serves every row: re-reading the file per row makes a large catalogue quadratic,
  // and the load runs before the user can see or touch anything. An unreadable list shows every
  // skin as not mounted, like a missing one; nothing is written here.
  const MountListLines lines(list.bytes);
  for (const CatalogueEntry& entry : catalogue_entries(catalogue.bytes)) {
    const int row = ctx.list.append_row();
    ctx.list.set_cell(row, kNameColumn, entry.value);
    const bool mounted = lines.has_entry(ctx.list.cell(row, kNameColumn));
    ctx.list.set_cell(row, kStatusColumn, mounted ? kMounted : kNotMounted);
  }
  ctx.list.repaint_now();
}

}  // namespace km
