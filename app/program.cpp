#include "app/program.h"

#include <windows.h>
#include <ole2.h>

#include <string>

namespace km {

namespace {
bool g_ole_initialised = false;  // set once at start, read once at the end
}

bool start_program() {
  g_ole_initialised = SUCCEEDED(OleInitialize(nullptr));

  // A shortcut may start us anywhere; the program's own folder is where relative paths point.
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length > 0 && length < sizeof path) {
    std::string folder(path, length);
    const size_t last = folder.rfind('\\');
    if (last != std::string::npos) SetCurrentDirectoryA(folder.substr(0, last).c_str());
  }
  return g_ole_initialised;
}

void end_program(int exit_code) {
  if (g_ole_initialised) OleUninitialize();
  ExitProcess(static_cast<UINT>(exit_code));
}

}  // namespace km
