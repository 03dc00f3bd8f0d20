#include "drag.h"

#include <ole2.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <atomic>
#include <cstring>

namespace km::e2e {

namespace {

class FileListData final : public IDataObject {
 public:
  explicit FileListData(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) list_ += path + '\0';
    list_ += '\0';
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list_.size());
    if (!memory) return E_OUTOFMEMORY;
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), list_.data(), list_.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &format, formats);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::string list_;
  ULONG references_ = 1;
};

// Drops once the pointer has arrived over the target and the button is up: the button state the
// drag loop sees may lag behind the input sent.
class ButtonSource final : public IDropSource {
 public:
  explicit ButtonSource(const std::atomic<bool>& arrived) : arrived_(arrived) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape || GetTickCount() - started_ > 15000) return DRAGDROP_S_CANCEL;
    return !(keys & MK_LBUTTON) && arrived_ ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  const std::atomic<bool>& arrived_;
  DWORD started_ = GetTickCount();
};

void send_mouse(POINT at, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  SendInput(1, &input, sizeof input);
}

}  // namespace

FileDrag::FileDrag(HWND target, std::vector<std::string> paths) : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = std::thread([this, target, paths] {
    OleInitialize(nullptr);
    RECT r{};
    GetWindowRect(target, &r);
    const POINT start{r.left > 60 ? r.left - 40 : r.right + 40, (r.top + r.bottom) / 2};
    const POINT end{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // The button goes down outside the target, then the pointer travels onto it and lets go.
    send_mouse(start, MOUSEEVENTF_LEFTDOWN);
    for (int i = 0; i < 100 && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); ++i) Sleep(10);
    std::atomic<bool> dragging{true}, arrived{false};
    std::thread mover([&] {
      for (int step = 1; step <= 20 && dragging; ++step) {
        Sleep(30);
        send_mouse({start.x + (end.x - start.x) * step / 20, start.y + (end.y - start.y) * step / 20}, 0);
      }
      Sleep(200);
      send_mouse(end, 0);
      Sleep(200);
      arrived = true;
      send_mouse(end, MOUSEEVENTF_LEFTUP);
    });
    FileListData data(paths);
    ButtonSource source(arrived);
    DWORD effect = DROPEFFECT_NONE;
    result_ = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    effect_ = effect;
    dragging = false;
    mover.join();
    OleUninitialize();
    SetEvent(done_);
  });
}

FileDrag::~FileDrag() {
  if (thread_.joinable()) {
    WaitForSingleObject(done_, 30000);
    if (WaitForSingleObject(done_, 0) == WAIT_OBJECT_0) thread_.join();
    else thread_.detach();
  }
  CloseHandle(done_);
}

HRESULT FileDrag::wait(DWORD* effect, int ms) {
  if (WaitForSingleObject(done_, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return E_PENDING;
  if (effect) *effect = effect_;
  return result_;
}

HRESULT drag_files(HWND target, const std::vector<std::string>& paths) {
  FileDrag drag(target, paths);
  return drag.wait();
}

}  // namespace km::e2e
