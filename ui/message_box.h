#pragma once
// Every message of the commands and of the close confirmation goes through here.
#include "commands/commands.h"

namespace km {

class MessageBoxes final : public UserMessages {
 public:
  using UserMessages::show;
  // No owner, modal for the whole thread: while a box is up no window of ours takes input.
  bool show(const std::string& text, MessageKind kind, const std::string& title) override;
};

}  // namespace km
