#pragma once
// The one way out for what cannot go on (the main window cannot be made, memory ran out, an
// exception reached a window procedure): an error box naming the failure (error icon, OK, no
// owner), then the end of the process with exit code -1. Nothing else runs on the way out.
namespace km {

[[noreturn]] void fatal_stop(const char* what);

}  // namespace km
