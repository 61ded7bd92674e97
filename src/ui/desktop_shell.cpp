#include "ui/desktop_shell.h"

#include "ui/hyperlink_command.h"

namespace rq508 {

int OpenTarget(DesktopShell& shell, const std::string& address) {
    const int shellResult = shell.OpenAddress(address);
    if (shellResult > kOpenSucceededAbove) {
        return shellResult;
    }
    const std::optional<std::string> association = shell.HtmlAssociationCommand();
    if (!association) {
        return shellResult;
    }
    return shell.StartCommand(BuildAssociationCommand(*association, address));
}

}  // namespace rq508
