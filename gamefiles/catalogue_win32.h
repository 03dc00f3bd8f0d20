#pragma once
// The skin catalogue on the platform's private-profile functions.
#include <string>

#include "gamefiles/catalogue.h"
#include "gamefiles/disk.h"

namespace km {

class ProfileCatalogue final : public Catalogue {
 public:
  // The path is built from the install folder at every call, never kept.
  ProfileCatalogue(const std::string& install_folder, Disk& disk)
      : install_folder_(install_folder), disk_(disk) {}

  bool present() override;
  std::string read_slot(int slot) override;
  std::vector<CatalogueEntry> entries() override;
  bool write_slot(int slot, const std::string& value) override;
  bool remove_position(int p) override;

 private:
  const std::string& install_folder_;
  Disk& disk_;
};

}  // namespace km
