#pragma once
// The whole-file operations the game files and the commands use. The real one is Win32Disk
// (disk_win32.h, ANSI file functions); tests use an in-memory fake that records what happened.
// Paths are GBK byte texts handed to the platform unchanged.
#include <string>

namespace km {

enum class ReadStatus {
  ok,          // the file was read; bytes holds all of it (possibly none)
  missing,     // no such file (or folder on the way), or an empty path
  unreadable,  // it exists but could not be read: access denied, held open without read sharing, a folder
};

struct FileRead {
  ReadStatus status = ReadStatus::missing;
  std::string bytes;  // every byte of the file, zero bytes included
};

class Disk {
 public:
  virtual ~Disk() = default;
  // Lets other programs read, not write, while the file is open.
  virtual FileRead read_file(const std::string& path) = 0;
  // All or nothing: the bytes go to a new file in the same folder that then replaces the target.
  // A read-only target, a missing folder or any failure on the way gives false and leaves the old
  // file as it was. An empty path gives false.
  virtual bool write_file(const std::string& path, const std::string& bytes) = 0;
  virtual bool delete_file(const std::string& path) = 0;
  // A search, not an open: a folder counts, and '*' and '?' act as wildcards.
  virtual bool file_exists(const std::string& path) = 0;
  // Rename; when that fails, copy over any existing target and delete the source.
  virtual bool move_file(const std::string& from, const std::string& to) = 0;
};

}  // namespace km
