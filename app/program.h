#pragma once
// The program as a whole: start-up of the process and the one way out of every normal end.
namespace km {

// OLE for the GUI thread and the program's own folder as the current directory. False when OLE
// could not be initialised.
bool start_program();

// Uninitialises OLE and ends the process. The windows go with the process; no handler of ours
// runs again.
[[noreturn]] void end_program(int exit_code);

}  // namespace km
