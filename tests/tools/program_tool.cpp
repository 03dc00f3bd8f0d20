// Small jobs on the built program for the scripts, run under Wine:
//   km_program_tool version-info PROGRAM.exe   prints the version resource, one "name=value" a line
//                                              (GBK), the fixed file version first
//   km_program_tool choose-menu-item ID        chooses a popup-menu item of the running program's
//                                              main window (the screenshot of the About window)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int print_version_info(const char* path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) {
    std::fprintf(stderr, "no version resource in %s\n", path);
    return 1;
  }
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path, 0, size, data.data())) return 1;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return 1;
  std::printf("FixedFileVersion=%u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
              HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  struct Translation {
    WORD language, code_page;
  }* translation = nullptr;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof *translation)
    return 1;
  std::printf("Translation=%04x%04x\n", translation->language, translation->code_page);
  for (const char* name : {"ProductName", "FileDescription", "FileVersion", "ProductVersion", "OriginalFilename"}) {
    char query[128];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                  translation->code_page, name);
    char* value = nullptr;
    if (VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&value), &length) && value)
      std::printf("%s=%s\n", name, value);
  }
  return 0;
}

int choose_menu_item(int id) {
  HWND window = nullptr;
  for (int i = 0; i < 200 && !window; ++i) {
    window = FindWindowA("KestrinMarquelleMainWindow", nullptr);
    if (!window) Sleep(50);
  }
  if (!window) {
    std::fprintf(stderr, "the program's main window is not there\n");
    return 1;
  }
  // Posted, as the menu itself does: the program may open a modal window in answer.
  return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "version-info") == 0) return print_version_info(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "choose-menu-item") == 0) return choose_menu_item(std::atoi(argv[2]));
  std::fprintf(stderr, "usage: km_program_tool version-info PROGRAM.exe | choose-menu-item ID\n");
  return 2;
}
