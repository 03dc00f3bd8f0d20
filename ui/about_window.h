#pragma once
// The About window: a small modal window with a note about the program, two labels that open the
// contact link, and the "free software" banner.
#include <windows.h>

namespace km {

// Opens the About window over `owner` and returns once it has been closed. Every other window of
// the program takes no input meanwhile.
void run_about_window(HINSTANCE instance, HWND owner);

}  // namespace km
