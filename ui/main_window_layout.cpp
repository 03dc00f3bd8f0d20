#include "ui/main_window_layout.h"

#include <commctrl.h>

#include "ui/dpi.h"

namespace km {

const char* const kMainWindowCaption = "Kestrin-Marquelle";

const ControlSpec kMainWindowControls[7] = {
    // The hint line, wider than the client area and cut off at its right edge.
    {kHintLabelId, ControlKind::label, 3, 2, 337, 20, "     请将皮肤压缩包直接拖入下方列表里,可进行更多操作  "},
    // The loudspeaker picture, above the label's left end where its five spaces leave room.
    {kHintPictureId, ControlKind::picture, 2, 4, 17, 17, ""},
    // The skin list.
    {kSkinListId, ControlKind::list, -1, 23, 307, 344, ""},
    // The four command buttons, left to right.
    {kMountCommand, ControlKind::button, 1, 368, 75, 30, "挂载皮肤"},
    {kUnmountCommand, ControlKind::button, 77, 368, 75, 30, "卸载皮肤"},
    {kDeleteCommand, ControlKind::button, 153, 368, 75, 30, "删除皮肤"},
    {kRestoreDefaultCommand, ControlKind::button, 229, 368, 75, 30, "恢复默认"},
};

const ColumnSpec kSkinListColumns[2] = {
    {"皮肤文件名", 186, LVCFMT_LEFT},
    {"挂载状态", 100, LVCFMT_CENTER},
};

const MenuItemSpec kSkinMenuItems[7] = {
    {kMountCommand, "挂载皮肤"},
    {kUnmountCommand, "卸载皮肤"},
    {kDeleteCommand, "删除皮肤"},
    {kRestoreDefaultCommand, "恢复默认"},
    {0, nullptr},
    {kAboutCommand, "关于软件"},
    {kContactCommand, "BUG反馈"},
};

RECT control_rect(const ControlSpec& layout, int dpi) {
  const int left = scale_for_dpi(layout.x, dpi), top = scale_for_dpi(layout.y, dpi);
  return {left, top, left + scale_for_dpi(layout.width, dpi), top + scale_for_dpi(layout.height, dpi)};
}

}  // namespace km
