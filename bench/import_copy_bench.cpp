// Import of a pack from another drive, by the real program: a real OLE drag from this process, the
// copy on the program's worker thread under its progress window. Measured from here, while it
// runs: the time from the progress window showing to the new row in the list, how long the main
// window takes to answer a message (sent every 50 ms), and the program's private bytes before the
// drop and at their peak. bench/run-bench.sh compares the time with `cp` between the same two file
// systems.
// Usage: import_copy_bench.exe make PACK MEGABYTES   writes a real ZIP pack of that size
//        import_copy_bench.exe run PACK               drops it on the program; one line of figures
//        import_copy_bench.exe floor PACK TARGET KB   a plain copy loop in this process, for comparison
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "bench/zip_pack.h"
#include "tests/e2e/drag.h"
#include "tests/e2e/driver.h"

namespace {

const char kProgressClass[] = "KestrinMarquelleImportProgress";

double now_ms() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The process's private bytes (its commit charge). Wine fills PrivateUsage only for the calling
// process; for another one it gives the same charge as PagefileUsage, which Windows documents as
// the same figure.
double private_mb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) return -1;
  const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
  return static_cast<double>(bytes) / (1 << 20);
}

int item_count(HWND list) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &count)) return -1;
  return static_cast<int>(count);
}

std::uint64_t file_size(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Asks the main window for an answer every 50 ms and reads the program's private bytes, until
// stopped: the slowest answer and the largest private bytes seen.
class Watch {
 public:
  Watch(HWND window, HANDLE process) : window_(window), process_(process) {
    thread_ = std::thread([this] {
      while (!stop_) {
        const double start = now_ms();
        DWORD_PTR result = 0;
        const bool answered = SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        const double took = answered ? now_ms() - start : 5000;
        worst_answer_ms = std::max(worst_answer_ms.load(), took);
        ++samples;
        peak_private_mb = std::max(peak_private_mb.load(), private_mb(process_));
        Sleep(50);
      }
    });
  }
  void stop() {
    stop_ = true;
    thread_.join();
  }
  std::atomic<double> worst_answer_ms{0};
  std::atomic<double> peak_private_mb{0};
  std::atomic<int> samples{0};

 private:
  HWND window_;
  HANDLE process_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

int run(const std::string& pack) {
  const std::uint64_t size = file_size(pack);
  if (!size) {
    std::printf("no pack at %s\n", pack.c_str());
    return 1;
  }
  const std::string file_name = pack.substr(pack.find_last_of('\\') + 1);
  const std::string skin = file_name.substr(0, file_name.size() - 4);
  km::e2e::GameInstall game;
  auto program = km::e2e::Program::start(game.folder());
  if (!program) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(program->window(), &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  Sleep(1000);  // start-up's allocations settle
  const double before_mb = private_mb(process);

  Watch watch(program->window(), process);
  km::e2e::FileDrag drag(program->window(), {pack});
  // Polled gently: this process shares the processors with the copy.
  double shown = 0, closed = 0, listed = 0;
  HWND progress = nullptr;
  const double give_up = now_ms() + 600000;
  while (!shown && now_ms() < give_up) {
    if ((progress = FindWindowA(kProgressClass, nullptr))) shown = now_ms();
    else Sleep(1);
  }
  while (shown && !closed && now_ms() < give_up) {
    if (!IsWindow(progress)) closed = now_ms();
    else Sleep(10);
  }
  while (closed && !listed && now_ms() < give_up) {
    if (item_count(program->list()) == 1) listed = now_ms();
    else Sleep(2);
  }
  watch.stop();
  const HRESULT dropped = drag.wait();
  const std::uint64_t stored = file_size(game.game_path(skin + ".zip"));
  const bool ok = dropped == km::e2e::kDropNotPerformed && shown && listed && stored == size && !file_size(pack);
  const double copy_ms = listed - shown;
  std::printf("bytes=%llu copy_ms=%.1f progress_ms=%.1f mb_per_s=%.1f worst_answer_ms=%.1f samples=%d private_before_mb=%.1f "
              "private_peak_mb=%.1f private_growth_mb=%.1f ok=%d\n",
              static_cast<unsigned long long>(size), copy_ms, closed - shown, size / 1048576.0 / (copy_ms / 1000), watch.worst_answer_ms.load(),
              watch.samples.load(), before_mb, watch.peak_private_mb.load(), watch.peak_private_mb.load() - before_mb,
              ok ? 1 : 0);
  if (!ok)
    std::printf("the import did not go through: drop 0x%08lx, progress window %s, row %s, stored %llu bytes\n",
                static_cast<unsigned long>(dropped), shown ? "seen" : "never seen", listed ? "seen" : "never seen",
                static_cast<unsigned long long>(stored));
  CloseHandle(process);
  return ok ? 0 : 1;
}

// Wine's own floor for the same copy: a plain read-write loop through the Windows file functions,
// with pieces of the given size, flushed at the end like the program's copy.
int copy_floor(const std::string& from, const std::string& to, std::size_t piece) {
  const double start = now_ms();
  HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE out = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE) return 1;
  std::string buffer(piece, '\0');
  DWORD got = 0, written = 0;
  std::uint64_t done = 0;
  while (ReadFile(in, &buffer[0], static_cast<DWORD>(piece), &got, nullptr) && got > 0) {
    if (!WriteFile(out, buffer.data(), got, &written, nullptr) || written != got) return 1;
    done += got;
  }
  FlushFileBuffers(out);
  CloseHandle(out);
  CloseHandle(in);
  const double ms = now_ms() - start;
  std::printf("bytes=%llu floor_ms=%.1f piece_kb=%u\n", static_cast<unsigned long long>(done), ms,
              static_cast<unsigned>(piece >> 10));
  DeleteFileA(to.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "make" && argc > 3) {
    const std::uint64_t size = std::strtoull(argv[3], nullptr, 10) << 20;
    return km::bench::write_zip_pack(argv[2], size - km::bench::kZipOverhead, km::bench::PackData::written) ? 0 : 1;
  }
  if (mode == "run") return run(argv[2]);
  if (mode == "floor" && argc > 4) return copy_floor(argv[2], argv[3], std::strtoull(argv[4], nullptr, 10) << 10);
  std::printf("usage: import_copy_bench.exe make PACK MEGABYTES | run PACK\n");
  return 2;
}
