#include "gamefiles/disk_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "gamefiles/text_rules.h"
#include "win32/handles.h"

namespace km {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

SystemError last_error() {
  const DWORD error = GetLastError();
  return error ? error : ERROR_GEN_FAILURE;
}

bool write_all(HANDLE file, const char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, data + done, chunk, &written, nullptr) || written == 0) return false;
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

// Windows refuses to replace or delete a read-only file, but not every platform does (Wine as
// root): the attribute is the user's word, so we honour it ourselves. A folder is never replaced.
SystemError refusal_of_target(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;
  if (attributes & FILE_ATTRIBUTE_READONLY) return ERROR_FILE_READ_ONLY;
  return ERROR_SUCCESS;
}

// A replace or delete refused with "access denied" is most often another program holding the file:
// open without sharing deletion (the game itself), or with a range of it locked. An open for
// writing and deletion, then a lock of the whole file, tell that apart from a real lack of rights.
SystemError refine_access_denied(const std::string& path, SystemError error) {
  if (error != ERROR_ACCESS_DENIED) return error;
  UniqueFile probe(CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe) {
    const DWORD probe_error = GetLastError();
    return probe_error == ERROR_SHARING_VIOLATION || probe_error == ERROR_LOCK_VIOLATION ? ERROR_SHARING_VIOLATION
                                                                                          : error;
  }
  OVERLAPPED whole{};
  if (!LockFileEx(probe.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole))
    return ERROR_LOCK_VIOLATION;
  UnlockFileEx(probe.get(), 0, MAXDWORD, MAXDWORD, &whole);
  return error;
}

// Puts what `fill` writes into a new file beside `target` and then replaces the target with it,
// all or nothing.
SystemError write_beside_and_replace(const std::string& target, bool replace_existing,
                                     const std::function<SystemError(HANDLE)>& fill) {
  std::string temporary;
  {
    UniqueFile file = create_temporary_beside(target, temporary);
    if (!file) return last_error();
    SystemError error = fill(file.get());
    if (!error && !FlushFileBuffers(file.get())) error = last_error();
    if (!CloseHandle(file.release()) && !error) error = last_error();
    if (error) {
      DeleteFileA(temporary.c_str());
      return error;
    }
  }
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace_existing ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!MoveFileExA(temporary.c_str(), target.c_str(), flags)) {
    const SystemError error = refine_access_denied(target, last_error());
    DeleteFileA(temporary.c_str());
    return error;
  }
  return ERROR_SUCCESS;
}

FilePart read_part(const std::string& path, bool from_end, std::uint64_t offset, std::size_t size) {
  if (path.empty()) return {ReadStatus::missing, ERROR_FILE_NOT_FOUND, 0, {}};
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file) {
    const SystemError error = last_error();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
      return {ReadStatus::missing, error, 0, {}};
    return {ReadStatus::unreadable, error, 0, {}};
  }
  LARGE_INTEGER file_size{};
  if (!GetFileSizeEx(file.get(), &file_size) || file_size.QuadPart < 0)
    return {ReadStatus::unreadable, last_error(), 0, {}};
  FilePart part{ReadStatus::ok, ERROR_SUCCESS, static_cast<std::uint64_t>(file_size.QuadPart), {}};
  if (from_end) offset = part.file_size - std::min<std::uint64_t>(size, part.file_size);
  if (offset >= part.file_size) return part;
  const std::uint64_t count = std::min<std::uint64_t>(size, part.file_size - offset);
  part.bytes.resize(static_cast<size_t>(count));
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) return {ReadStatus::unreadable, last_error(), 0, {}};
  size_t done = 0;
  while (done < part.bytes.size()) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(part.bytes.size() - done, 1u << 30));
    if (!ReadFile(file.get(), &part.bytes[done], chunk, &got, nullptr)) return {ReadStatus::unreadable, last_error(), 0, {}};
    if (got == 0) break;
    done += got;
  }
  part.bytes.resize(done);
  return part;
}

}  // namespace

FileRead Win32Disk::read_file(const std::string& path, std::uint64_t max_size) {
  if (path.empty()) return {ReadStatus::missing, ERROR_FILE_NOT_FOUND, {}};
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file) {
    const SystemError error = last_error();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
      return {ReadStatus::missing, error, {}};
    return {ReadStatus::unreadable, error, {}};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return {ReadStatus::unreadable, last_error(), {}};
  if (size.QuadPart < 0 || static_cast<std::uint64_t>(size.QuadPart) > max_size)
    return {ReadStatus::unreadable, ERROR_FILE_TOO_LARGE, {}};
  FileRead result{ReadStatus::ok, ERROR_SUCCESS, std::string(static_cast<size_t>(size.QuadPart), '\0')};
  size_t done = 0;
  while (done < result.bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(result.bytes.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file.get(), &result.bytes[done], chunk, &got, nullptr))
      return {ReadStatus::unreadable, last_error(), {}};
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  result.bytes.resize(done);
  return result;
}

SystemError Win32Disk::write_file(const std::string& path, const std::string& bytes) {
  if (path.empty()) return ERROR_PATH_NOT_FOUND;
  if (const SystemError refused = refusal_of_target(path)) return refused;
  return write_beside_and_replace(path, true, [&bytes](HANDLE file) -> SystemError {
    return write_all(file, bytes.data(), bytes.size()) ? ERROR_SUCCESS : last_error();
  });
}

SystemError Win32Disk::delete_file(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return ERROR_FILE_NOT_FOUND;
  if (const SystemError refused = refusal_of_target(path)) return refused;
  if (!DeleteFileA(path.c_str())) return refine_access_denied(path, last_error());
  return ERROR_SUCCESS;
}

SystemError Win32Disk::recycle_file(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return ERROR_FILE_NOT_FOUND;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;
  // The shell reports its own codes, not the system's: find out first whether another program
  // holds the file, so the user hears the real reason.
  {
    UniqueFile probe(CreateFileA(path.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
    if (!probe) return refine_access_denied(path, last_error());
  }
  // The shell wants a list of names ended by an empty one. No wildcard reaches it: the path is
  // checked to name one existing file above.
  std::string from = path;
  from.push_back('\0');
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
  const int shell_result = SHFileOperationA(&operation);
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
  if (shell_result == 0 && operation.fAnyOperationsAborted) return ERROR_CANCELLED;
  // No Recycle Bin for this drive, or the shell could not do it: delete it as a plain file.
  if (!DeleteFileA(path.c_str())) return refine_access_denied(path, last_error());
  return ERROR_SUCCESS;
}

bool Win32Disk::is_file(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Disk::is_folder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

SystemError Win32Disk::rename_file(const std::string& from, const std::string& to, bool replace_existing) {
  if (replace_existing) {
    if (const SystemError refused = refusal_of_target(to)) return refused;
  } else if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return ERROR_FILE_EXISTS;
  }
  if (MoveFileExA(from.c_str(), to.c_str(), replace_existing ? MOVEFILE_REPLACE_EXISTING : 0)) return ERROR_SUCCESS;
  const SystemError error = last_error();
  return error == ERROR_NOT_SAME_DEVICE ? error : refine_access_denied(to, error);
}

FilePart Win32Disk::read_tail(const std::string& path, std::size_t size) { return read_part(path, true, 0, size); }

FilePart Win32Disk::read_at(const std::string& path, std::uint64_t offset, std::size_t size) {
  return read_part(path, false, offset, size);
}

// The volume and the file's index on it name one file, whatever path, case, short name or drive
// mapping reached it.
bool Win32Disk::same_file(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION info[2];
  const std::string* paths[2] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    UniqueFile file(CreateFileA(paths[i]->c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file || !GetFileInformationByHandle(file.get(), &info[i])) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

SystemError copy_into_place(HANDLE from, const std::string& target, bool replace_existing,
                            const std::atomic<bool>* cancel, const std::function<void(std::uint64_t)>& copied) {
  // Refused before a byte is copied: the copy may take minutes, and the final replace would not
  // honour a read-only target where the platform does not (Wine as root).
  if (replace_existing) {
    if (const SystemError refused = refusal_of_target(target)) return refused;
  } else if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return ERROR_FILE_EXISTS;
  }
  return write_beside_and_replace(target, replace_existing, [&](HANDLE file) -> SystemError {
    // Pieces small enough to stay in the processor's cache between the read and the write keep
    // the copy near the disk's speed (4 MB pieces ran at half of it); one buffer keeps the memory
    // flat.
    std::vector<char> buffer(256 << 10);
    std::uint64_t done = 0;
    for (;;) {
      if (cancel && cancel->load()) return ERROR_CANCELLED;
      DWORD got = 0;
      if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return last_error();
      if (got == 0) return ERROR_SUCCESS;
      if (!write_all(file, buffer.data(), got)) return last_error();
      done += got;
      if (copied) copied(done);
    }
  });
}

std::string Win32Disk::error_text(SystemError error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length ? std::string(text, length) : std::string();
  if (text) LocalFree(text);
  result = result.substr(0, result.find_first_of("\r\n"));
  const size_t last = result.find_last_not_of(" \t");
  result.erase(last == std::string::npos ? 0 : last + 1);
  const size_t first = result.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : result.substr(first);
}

// One name for every copy of the program in the session. A copy that ended while holding it leaves
// it abandoned, which counts as ours.
bool Win32Disk::lock_game_files() {
  if (!game_files_mutex_) game_files_mutex_.reset(CreateMutexA(nullptr, FALSE, kGameFilesMutexName));
  if (!game_files_mutex_) return false;
  const DWORD waited = WaitForSingleObject(game_files_mutex_.get(), 10000);
  return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void Win32Disk::unlock_game_files() { ReleaseMutex(game_files_mutex_.get()); }

}  // namespace km
