#pragma once
// The file operations the game files and the commands use. The real one is Win32Disk
// (disk_win32.h, ANSI file functions); tests use an in-memory fake that records what happened.
// Paths are GBK byte texts handed to the platform unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

namespace km {

// A Windows error code, the numbers GetLastError gives (on every platform, so the portable code
// can tell the user why something failed); 0 when the operation worked.
using SystemError = std::uint32_t;

namespace system_error {
constexpr SystemError kNone = 0;
constexpr SystemError kFileNotFound = 2;
constexpr SystemError kPathNotFound = 3;
constexpr SystemError kAccessDenied = 5;
constexpr SystemError kNotSameDevice = 17;
constexpr SystemError kSharingViolation = 32;
constexpr SystemError kLockViolation = 33;
constexpr SystemError kHandleDiskFull = 39;
constexpr SystemError kFileExists = 80;
constexpr SystemError kDiskFull = 112;
constexpr SystemError kFileTooLarge = 223;
constexpr SystemError kCancelled = 1223;
constexpr SystemError kFileReadOnly = 6009;
}  // namespace system_error

// The mount list and the catalogue are small text files; anything larger is not one of them and
// is not read into memory.
constexpr std::uint64_t kMaxGameTextFileSize = 64ull << 20;

enum class ReadStatus {
  ok,          // the file was read; bytes holds all of it (possibly none)
  missing,     // no such file (or folder on the way), or an empty path
  unreadable,  // it exists but could not be read: access denied, held open without sharing, a
               // folder, larger than the limit; `error` says which
};

struct FileRead {
  ReadStatus status = ReadStatus::missing;
  SystemError error = system_error::kNone;
  std::string bytes;  // every byte of the file, zero bytes included
};

// Part of a file: its size and the bytes asked for (fewer when the file is shorter).
struct FilePart {
  ReadStatus status = ReadStatus::missing;
  SystemError error = system_error::kNone;
  std::uint64_t file_size = 0;
  std::string bytes;
};

class Disk {
 public:
  virtual ~Disk() = default;
  // Shares the file fully while reading (the game or an editor may hold it open for writing).
  // A file larger than max_size is unreadable with kFileTooLarge.
  virtual FileRead read_file(const std::string& path, std::uint64_t max_size = kMaxGameTextFileSize) = 0;
  // All or nothing: the bytes go to a new file in the same folder that then replaces the target.
  // A read-only target (kFileReadOnly), a missing folder or any failure on the way leaves the old
  // file as it was and no new file behind.
  virtual SystemError write_file(const std::string& path, const std::string& bytes) = 0;
  // Honours the read-only attribute (kFileReadOnly). A missing file gives kFileNotFound.
  virtual SystemError delete_file(const std::string& path) = 0;
  // Into the Recycle Bin, without a question or progress; deleted outright where the drive has no
  // Recycle Bin. A missing file gives kFileNotFound.
  virtual SystemError recycle_file(const std::string& path) = 0;
  // The last min(size, file size) bytes of the file, shared fully like read_file.
  virtual FilePart read_tail(const std::string& path, std::size_t size) = 0;
  // Up to `size` bytes from `offset` on.
  virtual FilePart read_at(const std::string& path, std::uint64_t offset, std::size_t size) = 0;
  // Exactly this path (no wildcards) names a file, not a folder.
  virtual bool is_file(const std::string& path) = 0;
  // Exactly this path names a folder.
  virtual bool is_folder(const std::string& path) = 0;
  // A rename only, never a copy: kNotSameDevice when the two paths are on different volumes. An
  // existing target is replaced only when asked (and never when read-only).
  virtual SystemError rename_file(const std::string& from, const std::string& to, bool replace_existing) = 0;
  // Both paths name the same existing file, however they are spelled.
  virtual bool same_file(const std::string& a, const std::string& b) = 0;
  // The system's own text for an error code: its first line, trimmed; empty when it has none.
  virtual std::string error_text(SystemError error) = 0;

  // Held around each read-modify-write of the game's files, so that two copies of the program on
  // one install never lose each other's change. Waits for the other copy; false when it waited
  // too long. Never held while a message box is up.
  virtual bool lock_game_files() = 0;
  virtual void unlock_game_files() = 0;
};

// The game files' lock for one scope.
class GameFilesLock {
 public:
  explicit GameFilesLock(Disk& disk) : disk_(disk), held_(disk.lock_game_files()) {}
  ~GameFilesLock() { release(); }
  GameFilesLock(const GameFilesLock&) = delete;
  GameFilesLock& operator=(const GameFilesLock&) = delete;
  bool held() const { return held_; }
  void release() {
    if (held_) disk_.unlock_game_files();
    held_ = false;
  }

 private:
  Disk& disk_;
  bool held_;
};

}  // namespace km
