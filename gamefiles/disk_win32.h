#pragma once
// The disk as the game files see it, on the Windows ANSI file functions.
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
  MoveResult move_file(const std::string& from, const std::string& to, bool replace_existing) override;
  std::string error_text(SystemError error) override;
  bool lock_game_files() override;
  void unlock_game_files() override;

 private:
  UniqueKernelHandle game_files_mutex_;
};

}  // namespace km
