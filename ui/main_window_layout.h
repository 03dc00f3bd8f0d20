#pragma once
// The main window and its controls, in 96-DPI pixels. One table drives creation, re-layout on a DPI
// change, and the tests.
#include <windows.h>

namespace km {

constexpr int kMainWindowWidth = 311;   // outer size, frame and title bar included
constexpr int kMainWindowHeight = 427;
extern const char* const kMainWindowCaption;  // "Kestrin-Marquelle"

// Control ids. A button and the popup-menu item of the same caption share an id, so both run the
// same command. IDOK (1) and IDCANCEL (2) stay free: the dialog keyboard sends them for Enter/Esc.
enum ControlId : int {
  kHintLabelId = 100,
  kHintPictureId = 101,
  kSkinListId = 102,
  kMountCommand = 1001,
  kUnmountCommand = 1002,
  kDeleteCommand = 1003,
  kRestoreDefaultCommand = 1004,
  kAboutCommand = 1005,
  kContactCommand = 1006,
};

enum class ControlKind { label, picture, list, button };

struct ControlSpec {
  int id;
  ControlKind kind;
  int x, y, width, height;  // client coordinates at 96 DPI
  const char* text;
};

extern const ControlSpec kMainWindowControls[7];

// The rectangle of a control at the given DPI, in client coordinates.
RECT control_rect(const ControlSpec& layout, int dpi);

// The skin list's columns.
struct ColumnSpec {
  const char* caption;
  int width;   // at 96 DPI
  int format;  // LVCFMT_*
};
extern const ColumnSpec kSkinListColumns[2];

// The popup menu "皮肤操作" (skin operations), in order; id 0 is a separator.
struct MenuItemSpec {
  int id;
  const char* caption;
};
extern const MenuItemSpec kSkinMenuItems[7];

}  // namespace km
