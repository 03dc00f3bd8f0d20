#pragma once
// The disk as the game files see it, on the Windows ANSI file functions.
#include <windows.h>

#include <atomic>
#include <functional>

#include "gamefiles/disk.h"
#include "win32/handles.h"

namespace km {

// The named mutex every copy of the program takes around a read-modify-write of the game's files.
constexpr char kGameFilesMutexName[] = "Kestrin-Marquelle.GameFiles";

class Win32Disk final : public Disk {
 public:
  FileRead read_file(const std::string& path, std::uint64_t max_size = kMaxGameTextFileSize) override;
  SystemError write_file(const std::string& path, const std::string& bytes) override;
  SystemError delete_file(const std::string& path) override;
  SystemError recycle_file(const std::string& path) override;
  bool is_file(const std::string& path) override;
  bool is_folder(const std::string& path) override;
  FilePart read_tail(const std::string& path, std::size_t size) override;
  FilePart read_at(const std::string& path, std::uint64_t offset, std::size_t size) override;
  SystemError rename_file(const std::string& from, const std::string& to, bool replace_existing) override;
  bool same_file(const std::string& a, const std::string& b) override;
  std::string error_text(SystemError error) override;
  bool lock_game_files() override;
  void unlock_game_files() override;

 private:
  UniqueKernelHandle game_files_mutex_;
};

// Copies what is left to read of an open file into a new file beside `target` that then replaces
// it (only when asked) once complete and flushed. `copied` hears the bytes done so far after every
// piece; `cancel` set from another thread stops the copy with kCancelled. Any failure or a cancel
// leaves no new file behind and the target as it was.
SystemError copy_into_place(HANDLE from, const std::string& target, bool replace_existing,
                            const std::atomic<bool>* cancel = nullptr,
                            const std::function<void(std::uint64_t)>& copied = {});

}  // namespace km
