// Mount, Unmount and Delete of the last row with 10,000 catalogued skins and a 10,000-line mount
// list, run in this process on the real disk, against the floor measured in the same run: reading
// the files the command reads once and writing the ones it writes once, atomically.
// Usage: commands_bench.exe [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "commands/commands.h"
#include "gamefiles/catalogue.h"
#include "gamefiles/disk_win32.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/mount_list.h"

namespace {

using km::bench::median;
using km::bench::now_ms;
using km::bench::Rows;
using km::bench::Silent;

constexpr int kSkins = 10000;

struct Install {
  std::string folder;
  std::string catalogue, mount_list;
  std::string last = "皮肤" + std::to_string(kSkins);

  explicit Install(const std::string& base) : folder(base) {
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\Game").c_str(), nullptr);
    catalogue = "[皮肤包]\r\n";
    mount_list = "Aatrox.zip";
    for (int i = 1; i <= kSkins; ++i) {
      const std::string name = "皮肤" + std::to_string(i);
      catalogue += km::catalogue_key(i) + "=" + name + "\r\n";
      mount_list += "\r\nGameArchive" + std::to_string(i) + ".zip";
    }
  }
  void reset(km::Disk& disk, bool last_mounted) {
    disk.write_file(km::catalogue_path(folder), catalogue);
    disk.write_file(km::mount_list_path(folder), last_mounted ? mount_list + "\r\n" + last + ".zip" : mount_list);
    disk.write_file(km::pack_path(folder, last), "PK");
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  Install install(std::string(temp) + "km-commands-bench-" + std::to_string(GetCurrentProcessId()));
  km::Win32Disk disk;
  Silent silent;
  Rows list;
  km::CommandContext ctx{install.folder, disk, list, silent, silent};

  struct Measure {
    const char* name;
    bool last_mounted;
    std::function<void()> command;
    std::function<void()> floor;
    const char* expected;
  };
  const std::string list_path = km::mount_list_path(install.folder);
  const std::string catalogue_path = km::catalogue_path(install.folder);
  auto rewrite = [&](const std::string& path) { disk.write_file(path, disk.read_file(path).bytes); };
  const Measure measures[] = {
      {"Mount", false, [&] { km::mount_skin(ctx); }, [&] { rewrite(list_path); }, "挂载皮肤成功！"},
      {"Unmount", true, [&] { km::unmount_skin(ctx); }, [&] { rewrite(list_path); }, "卸载皮肤成功！"},
      {"Delete", true, [&] { km::delete_skin(ctx); },
       [&] {
         rewrite(list_path);
         rewrite(catalogue_path);
       },
       "皮肤删除成功！"},
  };
  std::printf("%d skins, %d-line mount list, %d runs each\n\n", kSkins, kSkins + 1, runs);
  std::printf("%-8s %12s %12s %7s\n", "command", "median ms", "floor ms", "ratio");
  bool all_ok = true;
  for (const Measure& m : measures) {
    std::vector<double> command_ms, floor_ms;
    for (int run = 0; run < runs; ++run) {
      install.reset(disk, m.last_mounted);
      list.rows.clear();
      km::startup_load(ctx);
      list.selected = list.row_count() - 1;
      double start = now_ms();
      m.command();
      command_ms.push_back(now_ms() - start);
      if (silent.last != m.expected) all_ok = false;

      install.reset(disk, m.last_mounted);
      start = now_ms();
      m.floor();
      floor_ms.push_back(now_ms() - start);
    }
    const double c = median(command_ms), f = median(floor_ms);
    std::printf("%-8s %12.2f %12.2f %7.2f\n", m.name, c, f, c / f);
  }
  // Delete also moves the pack to the Recycle Bin, which no read or write of the floor does.
  std::vector<double> recycle_ms, parse_ms;
  for (int run = 0; run < runs; ++run) {
    install.reset(disk, false);
    double start = now_ms();
    disk.recycle_file(km::pack_path(install.folder, install.last));
    recycle_ms.push_back(now_ms() - start);
    start = now_ms();
    const std::optional<std::string> rewritten = km::catalogue_without_skin(install.catalogue, kSkins - 1, install.last);
    parse_ms.push_back(now_ms() - start + (rewritten ? 0 : 0));
  }
  std::printf("\nof Delete: the Recycle Bin move alone %.2f ms, the catalogue's rewrite in memory %.2f ms\n",
              median(recycle_ms), median(parse_ms));
  if (!all_ok) std::printf("\na command did not report success: the times above mean little\n");
  return all_ok ? 0 : 1;
}
