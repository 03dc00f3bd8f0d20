#pragma once
// The main window as a target of the shell's drag and drop. Only the shell's file list is taken;
// anything else (text, links) shows the no-drop cursor. The drop is always reported to the source
// as not performed, so the source never moves or deletes its own copy: the import alone decides
// what happens to a dropped file.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include "commands/import.h"
#include "win32/handles.h"

namespace km {

class FileDropHandler {
 public:
  virtual ~FileDropHandler() = default;
  // Runs inside the drop: the source waits until it returns.
  virtual void files_dropped(const DroppedFiles& drop) = 0;
};

// The paths of a shell file list in the ANSI code page. They are asked for in the wide form and
// converted here, so that a name the code page cannot hold is recognised instead of arriving with
// substitute characters that name some other file.
DroppedFiles dropped_files_of(HDROP drop);

// What every drop returns to its source: a failure, with the effect none.
constexpr HRESULT kDropNotPerformed = E_FAIL;

// The effect the keys and the source's allowed effects give (MK_SHIFT / MK_CONTROL in `keys`).
DWORD drop_effect_for(DWORD keys, DWORD allowed);

class DropTarget final : public IDropTarget {
 public:
  explicit DropTarget(FileDropHandler& handler) : handler_(handler) {}
  // Once, on the window that receives the drops; false when refused or already registered.
  bool register_on(HWND window);
  // While the window is gone or busy with an import, no drop is taken.
  void revoke();
  void set_accepting(bool accepting) { accepting_ = accepting; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  // The window owns this object; the count only tells OLE's holds apart.
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

 private:
  FileDropHandler& handler_;
  HWND window_ = nullptr;
  ULONG references_ = 1;
  bool accepting_ = true;
  bool offers_files_ = false;  // the answer of the current drag's data, asked once on entering
  ComPtr<IDropTargetHelper> image_;  // the shell's drag image; null where the system has none
};

}  // namespace km
