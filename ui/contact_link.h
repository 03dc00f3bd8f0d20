#pragma once
// The contact link: a chat with the author in the messenger, in the messenger's own URL scheme.
// The popup menu hands it to the shell as it is; the About window's labels open it with a fallback
// through the program that opens web pages.
#include <windows.h>

#include <string>

namespace km {

extern const char kContactLink[];

// Asks the shell to open the contact link. Nothing is reported: when no program handles the
// scheme, the shell shows its own message or nothing happens.
void open_contact_link(HWND owner);

// Asks the shell to open `link`; when it cannot, starts the web-page program's open command with
// the link as its last argument. True when either started something.
bool open_link_with_fallback(const std::string& link);

// The web-page program's open command cut before its placeholder ("%1" with its quotes when it
// has them, else a bare %1; without one the whole command), then a space and the link.
std::string fallback_command_line(const std::string& open_command, const std::string& link);

}  // namespace km
