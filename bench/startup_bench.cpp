// Start-up time against catalogue size: from process start to the main window shown, for 0, 1,000
// and 10,000 catalogued skins with a mount list of the same size, as a ratio to the empty case.
// Usage: startup_bench.exe PROGRAM.exe [RUNS]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool write_file(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

// A game install with `skins` catalogued skins, every other one mounted, in a mount list that also
// holds as many archives of the game's own.
std::string make_install(const std::string& base, int skins) {
  const std::string folder = base + "\\install-" + std::to_string(skins);
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "\\Game").c_str(), nullptr);
  std::string catalogue = "[皮肤包]\r\n";
  std::string mount_list = "Aatrox.zip";
  for (int i = 1; i <= skins; ++i) {
    const std::string name = "皮肤" + std::to_string(i);
    catalogue += "英雄" + std::to_string(i) + "=" + name + "\r\n";
    mount_list += "\r\nGameArchive" + std::to_string(i) + ".zip";
    if (i % 2) mount_list += "\r\n" + name + ".zip";
  }
  if (skins > 0) write_file(folder + "\\Game\\皮肤.ini", catalogue);
  write_file(folder + "\\Game\\ClientZips.txt", mount_list);
  return folder;
}

void point_registry_at(const std::string& folder) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tencent\\LOL", 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                  nullptr, &key, nullptr);
  RegSetValueExA(key, "InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() + 1));
  RegCloseKey(key);
}

struct Search {
  DWORD pid;
  HWND found;
};

HWND visible_main_window(DWORD pid) {
  Search search{pid, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        char caption[64] = {};
        GetWindowTextA(hwnd, caption, sizeof caption);
        if (owner == s->pid && IsWindowVisible(hwnd) && std::string(caption) == "Kestrin-Marquelle") {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Milliseconds from CreateProcess to the visible main window; -1 when it did not show in 60 s.
// `rows` gets the number of rows the window's list shows, so that a run that listed nothing is seen.
double time_start(const std::string& program, int* rows) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  std::string command = "\"" + program + "\"";
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION info{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return -1;
  double ms = -1;
  for (int i = 0; i < 60000; ++i) {
    if (HWND window = visible_main_window(info.dwProcessId)) {
      QueryPerformanceCounter(&now);
      ms = 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
      DWORD_PTR count = 0;
      SendMessageTimeoutA(FindWindowExA(window, nullptr, "SysListView32", nullptr), LVM_GETITEMCOUNT, 0, 0,
                          SMTO_ABORTIFHUNG, 5000, &count);
      *rows = static_cast<int>(count);
      break;
    }
    Sleep(1);
  }
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup_bench PROGRAM.exe [RUNS]\n");
    return 2;
  }
  const std::string program = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string base = std::string(temp) + "km-startup-bench";
  CreateDirectoryA(base.c_str(), nullptr);

  std::printf("%8s %8s %12s %8s\n", "skins", "rows", "median ms", "ratio");
  double empty_ms = 0;
  bool all_listed = true;
  for (int skins : {0, 1000, 10000}) {
    point_registry_at(make_install(base, skins));
    int rows = -1;
    time_start(program, &rows);  // warm the caches once
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(time_start(program, &rows));
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    if (skins == 0) empty_ms = median;
    std::printf("%8d %8d %12.1f %8.2f\n", skins, rows, median, empty_ms > 0 ? median / empty_ms : 0.0);
    all_listed = all_listed && rows == skins;
  }
  if (!all_listed) std::printf("the program did not list every catalogued skin: the times above mean little\n");
  return all_listed ? 0 : 1;
}
