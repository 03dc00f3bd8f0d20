#include "win32/fatal_stop.h"

#include <windows.h>

namespace km {

void fatal_stop(const char* what) {
  // No allocation here: memory may be what ran out.
  char text[512];
  wsprintfA(text, "%s\r\n\r\n%.400s", "程序遇到无法恢复的错误，即将退出。", what ? what : "");
  MessageBoxA(nullptr, text, "Kestrin-Marquelle", MB_ICONERROR | MB_OK | MB_TASKMODAL);
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace km
