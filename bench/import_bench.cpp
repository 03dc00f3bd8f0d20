// Import of a pack on the same drive as the game: a 2 GB pack against a 1 KB one, run in this
// process on the real disk through the drop's own entry point. On one volume the pack is renamed
// into the Game folder, so its size should not matter; the goal is at most 1.2 times the small one.
// Both packs are real ZIP archives; the large one's data is a hole in a sparse file, which the
// import never reads (it checks the end record and the central directory only).
// Usage: import_bench.exe [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/zip_pack.h"
#include "commands/import.h"
#include "gamefiles/disk_win32.h"
#include "gamefiles/game_paths.h"

namespace {

using km::bench::median;
using km::bench::now_ms;
using km::bench::Rows;
using km::bench::Silent;

std::uint64_t file_size(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct Pack {
  const char* label;
  std::string skin;
  std::uint64_t size;
  km::bench::PackData data;
  std::string path;
  std::vector<double> ms;
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string base = std::string(temp) + "km-import-bench-" + std::to_string(GetCurrentProcessId());
  const std::string install = base + "\\install", packs = base + "\\packs";
  for (const std::string& folder : {base, install, install + "\\Game", packs}) CreateDirectoryA(folder.c_str(), nullptr);

  km::Win32Disk disk;
  Silent silent;
  Rows list;
  km::CommandContext ctx{install, disk, list, silent, silent};
  const std::string catalogue = "[皮肤包]\r\n英雄1=Lux\r\n";
  disk.write_file(km::catalogue_path(install), catalogue);
  disk.write_file(km::mount_list_path(install), "Aatrox.zip\r\nLux.zip");
  disk.write_file(km::pack_path(install, "Lux"), "PK");

  Pack sizes[] = {
      {"1 KB", "Small", 1024, km::bench::PackData::written, "", {}},
      {"2 GB", "Large", 2ull << 30, km::bench::PackData::hole, "", {}},
  };
  bool all_ok = true;
  for (Pack& pack : sizes) {
    pack.path = packs + "\\" + pack.skin + ".zip";
    if (!km::bench::write_zip_pack(pack.path, pack.size - km::bench::kZipOverhead, pack.data) ||
        file_size(pack.path) != pack.size) {
      std::printf("cannot write the %s pack %s\n", pack.label, pack.path.c_str());
      return 1;
    }
  }
  // The two sizes take turns, so that whatever else the machine does falls on both alike.
  for (int run = 0; run < runs; ++run) {
    for (Pack& pack : sizes) {
      disk.write_file(km::catalogue_path(install), catalogue);
      list.rows.assign(1, {"Lux", "已挂载"});
      silent.last.clear();
      const km::DroppedFiles drop{{pack.path}, false};
      const double start = now_ms();
      const auto copy = km::import_drop(ctx, drop);
      pack.ms.push_back(now_ms() - start);
      const std::string stored = km::pack_path(install, pack.skin);
      if (copy || !silent.last.empty() || list.row_count() != 2 || file_size(stored) != pack.size) {
        std::printf("the %s pack was not imported by a rename%s%s\n", pack.label, silent.last.empty() ? "" : ": ",
                    silent.last.c_str());
        all_ok = false;
      }
      MoveFileExA(stored.c_str(), pack.path.c_str(), 0);
    }
  }

  std::printf("same drive, %d runs each, interleaved\n\n", runs);
  std::printf("%-6s %14s %12s %7s\n", "pack", "bytes", "median ms", "ratio");
  const double small = median(sizes[0].ms);
  for (const Pack& pack : sizes) {
    const double m = median(pack.ms);
    std::printf("%-6s %14llu %12.2f %7.2f\n", pack.label, static_cast<unsigned long long>(pack.size), m, m / small);
  }
  for (const Pack& pack : sizes) DeleteFileA(pack.path.c_str());
  for (const std::string& name : {std::string("Small"), std::string("Large"), std::string("Lux")})
    DeleteFileA(km::pack_path(install, name).c_str());
  DeleteFileA(km::catalogue_path(install).c_str());
  DeleteFileA(km::mount_list_path(install).c_str());
  for (const std::string& folder : {install + "\\Game", install, packs, base}) RemoveDirectoryA(folder.c_str());
  if (!all_ok) std::printf("\nan import did not go as expected: the times above mean little\n");
  return all_ok ? 0 : 1;
}
