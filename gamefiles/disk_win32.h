#pragma once
// The disk as the game files see it, on the Windows ANSI file functions.
#include "gamefiles/disk.h"

namespace km {

class Win32Disk final : public Disk {
 public:
  FileRead read_file(const std::string& path) override;
  bool write_file(const std::string& path, const std::string& bytes) override;
  bool delete_file(const std::string& path) override;
  bool file_exists(const std::string& path) override;
  bool move_file(const std::string& from, const std::string& to) override;
};

}  // namespace km
