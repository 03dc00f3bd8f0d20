#pragma once
// A real OLE drag from this process onto another process's window, as a file manager makes one:
// the shell's file list (ANSI paths), the mouse moved with SendInput and the button released over
// the target. It runs on its own thread, since the target's drop may open a message box that the
// test must answer while the drag source is still waiting.
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace km::e2e {

// What the program's drop tells every source: nothing was done to its files (E_FAIL, effect none).
constexpr HRESULT kDropNotPerformed = E_FAIL;

class FileDrag {
 public:
  FileDrag(HWND target, std::vector<std::string> paths);
  ~FileDrag();
  // The result of DoDragDrop (the target's failure when its Drop refused to have done anything,
  // DRAGDROP_S_DROP when it reported success or no drop happened) and the effect the
  // target reported; waits up to `ms` for the drag to end.
  HRESULT wait(DWORD* effect = nullptr, int ms = 20000);

 private:
  std::thread thread_;
  HANDLE done_ = nullptr;
  HRESULT result_ = E_PENDING;
  DWORD effect_ = 0;
};

// Drags the paths onto the target and waits for the drop to end (no message box expected).
HRESULT drag_files(HWND target, const std::vector<std::string>& paths);

}  // namespace km::e2e
