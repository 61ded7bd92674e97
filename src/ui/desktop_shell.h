#pragma once

// How a link opens its address: the desktop's own way first, the program registered for
// ".htm" documents second. The operations come from the desktop (wired by the application) or
// from a test; the order and the fallback are here. Standard library only.

#include <optional>
#include <string>

namespace rq508 {

// Result codes follow the Windows shell: greater than kOpenSucceededAbove means success, the
// others name the failure (see OpenErrorMessage).
constexpr int kOpenSucceededAbove = 32;

class DesktopShell {
public:
    virtual ~DesktopShell() = default;

    // Opens the address with the desktop's opener; a result code.
    virtual int OpenAddress(const std::string& address) = 0;

    // The command line registered for opening ".htm" documents, with "%1" where the document
    // goes; nothing when the desktop has none or it cannot be read.
    virtual std::optional<std::string> HtmlAssociationCommand() = 0;

    // Starts the program a command line names, without waiting for it; a result code.
    virtual int StartCommand(const std::string& commandLine) = 0;
};

// Opens the address through the shell; if that fails, through the ".htm" association, whose
// failure to start is then reported; if the association cannot be read, the shell's failure.
int OpenTarget(DesktopShell& shell, const std::string& address);

}  // namespace rq508
