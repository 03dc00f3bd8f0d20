#pragma once
// The program as a whole: its one program-wide value (the install folder), the exit-time clean-up,
// and the two ways out: end_program for every normal end, fatal_stop for what cannot go on.
#include <string>

namespace km {

// Read once by the creation sequence, used by every command that builds a path.
std::string& install_folder();

// OLE for the GUI thread, the program's own folder as the current directory, and the exit-time
// clean-up registered. False when OLE could not be initialised.
bool start_program();

// Runs the exit-time clean-up, uninitialises OLE and ends the process. The windows go with the
// process; no handler of ours runs again.
[[noreturn]] void end_program(int exit_code);

// An error box naming the failure (error icon, OK, no owner), then the end with exit code -1,
// without the clean-up.
[[noreturn]] void fatal_stop(const char* what);

}  // namespace km
