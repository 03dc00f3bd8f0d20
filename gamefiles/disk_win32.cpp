#include "gamefiles/disk_win32.h"

#include <windows.h>

#include "gamefiles/text_rules.h"
#include "ui/handles.h"

namespace km {

namespace {

bool write_all(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// Creates a new file beside the target (same folder, so the final rename stays on one volume) under
// a name no other writer uses; leaves its path in `temporary`.
UniqueFile create_temporary_beside(const std::string& path, std::string& temporary) {
  const std::string stem = path + "." + number_to_text(static_cast<std::int32_t>(GetCurrentProcessId()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = stem + "-" + number_to_text(attempt) + ".tmp";
    UniqueFile file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return UniqueFile();
}

}  // namespace

FileRead Win32Disk::read_file(const std::string& path) {
  if (path.empty()) return {ReadStatus::missing, {}};
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
      return {ReadStatus::missing, {}};
    return {ReadStatus::unreadable, {}};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > std::string().max_size())
    return {ReadStatus::unreadable, {}};
  FileRead result{ReadStatus::ok, std::string(static_cast<size_t>(size.QuadPart), '\0')};
  size_t done = 0;
  while (done < result.bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(result.bytes.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file.get(), &result.bytes[done], chunk, &got, nullptr)) return {ReadStatus::unreadable, {}};
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  result.bytes.resize(done);
  return result;
}

// All or nothing: a failure at any step leaves the target as it was, never half written.
bool Win32Disk::write_file(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  // Windows refuses to replace a read-only file, but not every platform does (Wine as root):
  // the attribute is the user's word, so we honour it ourselves.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;

  std::string temporary;
  {
    UniqueFile file = create_temporary_beside(path, temporary);
    if (!file) return false;
    if (!write_all(file.get(), bytes) || !FlushFileBuffers(file.get())) {
      file.reset();
      DeleteFileA(temporary.c_str());
      return false;
    }
    if (!CloseHandle(file.release())) {
      DeleteFileA(temporary.c_str());
      return false;
    }
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

bool Win32Disk::delete_file(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32Disk::file_exists(const std::string& path) {
  WIN32_FIND_DATAA found;
  UniqueFind search(FindFirstFileA(path.c_str(), &found));
  return static_cast<bool>(search);
}

bool Win32Disk::move_file(const std::string& from, const std::string& to) {
  if (MoveFileA(from.c_str(), to.c_str())) return true;
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) return false;
  DeleteFileA(from.c_str());
  return true;
}

}  // namespace km
