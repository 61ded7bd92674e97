#pragma once

#include "platform/open_address.h"
#include "ui/desktop_shell.h"

namespace rq508 {

// The desktop the link opens addresses with: the platform's opener, HTML handler and program
// start, over the given programs (the system's own in the application, scripts in tests).
class SystemDesktopShell : public DesktopShell {
public:
    explicit SystemDesktopShell(DesktopPrograms programs = SystemDesktopPrograms())
        : m_programs(std::move(programs)) {}

    int OpenAddress(const std::string& address) override {
        return OpenAddressWithDesktop(m_programs, address);
    }
    std::optional<std::string> HtmlAssociationCommand() override {
        return HtmlHandlerCommand(m_programs);
    }
    int StartCommand(const std::string& commandLine) override {
        return StartCommandLine(commandLine);
    }

private:
    DesktopPrograms m_programs;
};

}  // namespace rq508
