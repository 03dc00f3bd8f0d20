#pragma once
// A fresh folder under the temp path for one test, removed with everything in it afterwards.
#include <windows.h>

#include <string>

#include "gamefiles/text_rules.h"

namespace km::testing {

inline void remove_tree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) remove_tree(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

class TempFolder {
 public:
  // Under the temp path, or under `base` (which ends in a backslash) when one is given.
  explicit TempFolder(std::string base = std::string()) {
    if (base.empty()) {
      char temp[MAX_PATH];
      GetTempPathA(MAX_PATH, temp);
      base = temp;
    }
    // Never the same name twice in one process: the profile functions cache files by path.
    static int n = 0;
    for (;; ++n) {
      path_ = base + "km-test-" + number_to_text(static_cast<int>(GetCurrentProcessId())) + "-" +
              number_to_text(n);
      if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
  }
  ~TempFolder() { remove_tree(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

inline bool write_bytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

// The file's bytes, or "<missing>" when it cannot be opened.
inline std::string read_bytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

// The names in a folder, "." and ".." left out, sorted as the file system lists them.
inline std::string folder_listing(const std::string& folder) {
  std::string names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names += name + ";";
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace km::testing
