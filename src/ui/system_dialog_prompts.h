#pragma once

#include "ui/about_launcher.h"
#include "ui/desktop_shell.h"
#include "ui/dialog_prompts.h"

class QWidget;

namespace rq508 {

// The real prompts, each modal over the owner: Qt's message box, Qt's own file dialogs (not the
// desktop's, so that they behave alike everywhere and a test can drive them), CPortSelectDlg
// and the About box.
class SystemDialogPrompts : public DialogPrompts {
public:
    // The About box's link opens through the desktop; without one, every open fails.
    explicit SystemDialogPrompts(QWidget& owner, DesktopShell& desktop = UnavailableDesktop())
        : m_owner(owner), m_desktop(desktop) {}

    void ShowMessage(const std::string& text) override;
    std::filesystem::path AskSavePath() override;
    std::filesystem::path AskOpenPath() override;
    bool RunPortSelection(PortNameSource& portNames) override;
    void RunAboutBox() override;

private:
    QWidget& m_owner;
    DesktopShell& m_desktop;
};

}  // namespace rq508
