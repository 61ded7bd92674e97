#pragma once

// The operating system's way to open a web address and, failing that, to start the program
// registered for HTML documents. Result codes follow the Windows shell: greater than 32 means
// success; 0, 2, 3, 5, 8, 11 and 26 to 32 name a failure, any other code is an unknown one.
// Standard library only in this header; each platform's files supply the definitions.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace rq508 {

// The desktop programs and folders used on Linux. The application passes the system's; a test
// passes its own scripts and folders.
struct DesktopPrograms {
    // Opens an address with the user's preferred application; a name without a slash is
    // looked up in the folders of PATH.
    std::string opener = "xdg-open";
    // Answers "query default text/html" with the desktop file of the default HTML handler.
    std::string mimeQuery = "xdg-mime";
    // Where desktop files (.desktop) are looked up, first match wins.
    std::vector<std::filesystem::path> applicationFolders;
    // How long the opener may run before it counts as started: some openers keep running as
    // long as the browser they started.
    std::chrono::milliseconds openerWait{5000};
};

// The desktop's own programs, and the application folders of the XDG base directories
// (XDG_DATA_HOME, XDG_DATA_DIRS and their defaults).
DesktopPrograms SystemDesktopPrograms();

// Opens the address with the desktop's opener; the address is handed over as one argument,
// never through a shell.
int OpenAddressWithDesktop(const DesktopPrograms& programs, const std::string& address);

// The command line of the desktop's default HTML handler with "%1" where the document goes,
// or nothing when there is none or it cannot be read.
std::optional<std::string> HtmlHandlerCommand(const DesktopPrograms& programs);

// Starts the program a command line names (double quotes group an argument, a backslash in
// them escapes the next character), without a shell and without waiting for it to end.
int StartCommandLine(const std::string& commandLine);

}  // namespace rq508
