#include "ui/drop_target.h"

#include <shellapi.h>

#include <new>
#include <string>
#include <vector>

#include "win32/fatal_stop.h"

namespace km {

namespace {

FORMATETC file_list_format() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

DroppedFiles dropped_files_of(HDROP drop) {
  DroppedFiles files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::vector<wchar_t> wide(DragQueryFileW(drop, i, nullptr, 0) + 1);
    const UINT length = DragQueryFileW(drop, i, wide.data(), static_cast<UINT>(wide.size()));
    std::string path;
    if (length > 0) {
      BOOL substituted = FALSE;
      const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(length),
                                           nullptr, 0, nullptr, &substituted);
      path.resize(static_cast<size_t>(size));
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(length), path.data(), size,
                          nullptr, &substituted);
      if (substituted || size == 0) files.unmappable_name = true;
    }
    files.paths.push_back(path);
  }
  return files;
}

DWORD drop_effect_for(DWORD keys, DWORD allowed) {
  const bool shift = keys & MK_SHIFT, control = keys & MK_CONTROL;
  if (shift && control) return DROPEFFECT_NONE;
  if (shift) return allowed & DROPEFFECT_MOVE;
  if (control) return allowed & DROPEFFECT_COPY;
  for (DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
    if (allowed & effect) return effect;
  return DROPEFFECT_NONE;
}

bool DropTarget::register_on(HWND window) {
  if (window_) return false;
  window_ = window;
  // The shell's drag image helper is a nicety: without it (Wine has only a stub) drops work the same.
  IDropTargetHelper* helper = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                 reinterpret_cast<void**>(&helper))))
    image_ = ComPtr<IDropTargetHelper>(helper);
  return SUCCEEDED(RegisterDragDrop(window, this));
}

void DropTarget::revoke() {
  if (window_) RevokeDragDrop(window_);
  image_.reset();
}

HRESULT DropTarget::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  FORMATETC format = file_list_format();
  offers_files_ = accepting_ && data && data->QueryGetData(&format) == S_OK;
  const DWORD allowed = *effect;
  *effect = offers_files_ ? drop_effect_for(keys, allowed) : DROPEFFECT_NONE;
  POINT where{point.x, point.y};
  if (image_) image_->DragEnter(window_, data, &where, *effect);
  return S_OK;
}

HRESULT DropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
  *effect = offers_files_ && accepting_ ? drop_effect_for(keys, *effect) : DROPEFFECT_NONE;
  POINT where{point.x, point.y};
  if (image_) image_->DragOver(&where, *effect);
  return S_OK;
}

HRESULT DropTarget::DragLeave() {
  offers_files_ = false;
  if (image_) image_->DragLeave();
  return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  const DWORD chosen = offers_files_ && accepting_ ? drop_effect_for(keys, *effect) : DROPEFFECT_NONE;
  offers_files_ = false;
  POINT where{point.x, point.y};
  if (image_) image_->Drop(data, &where, chosen);
  // Whatever happens, the source hears that nothing was done to its files (a failure, with no
  // effect): it must never delete or move its own copy. Only the import moves a dropped file.
  *effect = DROPEFFECT_NONE;
  if (chosen == DROPEFFECT_NONE || !data) return kDropNotPerformed;
  FORMATETC format = file_list_format();
  UniqueStgMedium medium;
  if (data->GetData(&format, medium.put()) != S_OK) return kDropNotPerformed;
  // No exception may unwind into OLE: the program's state would be unknown.
  try {
    handler_.files_dropped(dropped_files_of(static_cast<HDROP>(medium.get().hGlobal)));
  } catch (const std::bad_alloc&) {
    fatal_stop("内存不足。");
  } catch (...) {
    fatal_stop("未知错误。");
  }
  return kDropNotPerformed;
}

}  // namespace km
