#include "app/program.h"

#include <windows.h>
#include <ole2.h>

namespace km {

namespace {

std::string* g_install_folder = nullptr;
bool g_ole_initialised = false;
void (*g_exit_cleanup)() = nullptr;

void release_program_state() {
  delete g_install_folder;
  g_install_folder = nullptr;
}

}  // namespace

std::string& install_folder() {
  if (!g_install_folder) g_install_folder = new std::string();
  return *g_install_folder;
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

  g_exit_cleanup = release_program_state;
  return g_ole_initialised;
}

void end_program(int exit_code) {
  if (void (*cleanup)() = g_exit_cleanup) {
    g_exit_cleanup = nullptr;
    cleanup();
  }
  if (g_ole_initialised) OleUninitialize();
  ExitProcess(static_cast<UINT>(exit_code));
}

void fatal_stop(const char* what) {
  g_exit_cleanup = nullptr;
  // No allocation here: memory may be what ran out.
  char text[512];
  wsprintfA(text, "%s\r\n\r\n%.400s", "程序遇到无法恢复的错误，即将退出。", what ? what : "");
  MessageBoxA(nullptr, text, "Kestrin-Marquelle", MB_ICONERROR | MB_OK | MB_TASKMODAL);
  end_program(-1);
}

}  // namespace km
