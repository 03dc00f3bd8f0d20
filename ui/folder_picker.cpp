#include "ui/folder_picker.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

namespace km {

namespace {

struct PickerState {
  HWND edit = nullptr;
  std::string typed;  // the edit box's text when OK was pressed
};

BOOL CALLBACK find_edit(HWND child, LPARAM lparam) {
  char class_name[16] = {};
  GetClassNameA(child, class_name, sizeof class_name);
  if (lstrcmpiA(class_name, "Edit") != 0) return TRUE;
  reinterpret_cast<PickerState*>(lparam)->edit = child;
  return FALSE;
}

// Not every implementation of the picker takes a typed path on OK (some only return the tree's
// selection): we read the edit box ourselves as OK is pressed.
LRESULT CALLBACK picker_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  auto* state = reinterpret_cast<PickerState*>(data);
  if (message == WM_COMMAND && LOWORD(wparam) == IDOK && state->edit) {
    const int length = GetWindowTextLengthA(state->edit);
    std::vector<char> text(static_cast<size_t>(length) + 2, '\0');
    GetWindowTextA(state->edit, text.data(), length + 1);
    state->typed = text.data();
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(dialog, picker_proc, 1);
  return DefSubclassProc(dialog, message, wparam, lparam);
}

int CALLBACK picker_callback(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    auto* state = reinterpret_cast<PickerState*>(data);
    EnumChildWindows(dialog, find_edit, reinterpret_cast<LPARAM>(state));
    SetWindowSubclass(dialog, picker_proc, 1, reinterpret_cast<DWORD_PTR>(state));
  }
  return 0;
}

std::string trimmed(std::string text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::string> pick_folder(const std::string& title) {
  PickerState state;
  char display_name[MAX_PATH] = {};
  BROWSEINFOA browse{};
  browse.pszDisplayName = display_name;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  browse.lpfn = picker_callback;
  browse.lParam = reinterpret_cast<LPARAM>(&state);
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&browse);
  if (!chosen) return std::nullopt;
  char path[MAX_PATH * 2] = {};
  const bool has_path = SHGetPathFromIDListA(chosen, path);
  CoTaskMemFree(chosen);

  const std::string typed = trimmed(state.typed);
  if (!typed.empty() && !PathIsRelativeA(typed.c_str()) && PathIsDirectoryA(typed.c_str())) return typed;
  if (!has_path) return std::string();
  return std::string(path);
}

}  // namespace km
