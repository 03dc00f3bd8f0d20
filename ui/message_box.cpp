#include "ui/message_box.h"

#include <windows.h>

namespace km {

bool MessageBoxes::show(const std::string& text, MessageKind kind, const std::string& title) {
  UINT flags = static_cast<UINT>(kind);
  if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
  return MessageBoxA(nullptr, text.c_str(), title.c_str(), flags) == IDYES;
}

}  // namespace km
