#pragma once
// The system's folder picker, with an edit box the path can be typed into.
#include <optional>
#include <string>

namespace km {

// The chosen folder's path; nullopt when the user cancelled. A full path typed into the edit box
// wins over the folder selected in the tree.
std::optional<std::string> pick_folder(const std::string& title);

}  // namespace km
