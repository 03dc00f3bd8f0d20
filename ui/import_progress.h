#pragma once
// The progress window of a long import: the work runs on a worker thread while this window, modal
// over its owner, shows how far it got and offers "取消". The owner keeps painting meanwhile.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "gamefiles/disk.h"

namespace km {

// The work gets the cancel flag and reports the bytes done; its result is returned. It must
// watch the flag and stop soon after it is set.
using ProgressWork = std::function<SystemError(const std::atomic<bool>& cancel,
                                               const std::function<void(std::uint64_t)>& done)>;

// Caption "正在导入皮肤", the line "正在复制 <file name>…", a bar with the percent of `total`.
SystemError run_with_progress(HINSTANCE instance, HWND owner, const std::string& file_name, std::uint64_t total,
                              const ProgressWork& work);

// The caption, for tests that look for the window.
extern const char* const kImportProgressCaption;

}  // namespace km
