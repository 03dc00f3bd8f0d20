#include <optional>

#include "commands/commands.h"
#include "gamefiles/mount_list.h"

namespace km {

void startup_load(CommandContext& ctx) {
  if (!ctx.catalogue.present()) return;
  // One reading serves every row: re-reading the file per row makes a large catalogue quadratic,
  // and the load runs before the user can see or touch anything. An unreadable list shows every
  // skin as not mounted, like a missing one; nothing is written here.
  const std::string list = read_mount_list(ctx.disk, ctx.install_folder).value_or(std::string());
  const MountListLines lines(list);
  for (const CatalogueEntry& entry : ctx.catalogue.entries()) {
    const int row = ctx.list.append_row();
    ctx.list.set_cell(row, kNameColumn, entry.value);
    const bool mounted = lines.has_entry(ctx.list.cell(row, kNameColumn));
    ctx.list.set_cell(row, kStatusColumn, mounted ? kMounted : kNotMounted);
  }
  ctx.list.repaint_now();
}

}  // namespace km
