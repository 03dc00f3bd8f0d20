// Stands in for the messenger and the web-page program in the end-to-end tests: the test prefix's
// registry names it as their open command. Appends its whole command line and a line feed to the
// file named by its first argument, and ends.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  HANDLE file = CreateFileA(__argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char* line = GetCommandLineA();
  DWORD written = 0;
  const bool ok =
      WriteFile(file, line, lstrlenA(line), &written, nullptr) && WriteFile(file, "\n", 1, &written, nullptr);
  CloseHandle(file);
  return ok ? 0 : 1;
}
