#pragma once

#include "ui/dialog_prompts.h"

class QWidget;

namespace rq508 {

// The real prompts, each modal over the owner: Qt's message box, Qt's own file dialogs (not the
// desktop's, so that they behave alike everywhere and a test can drive them), CPortSelectDlg
// and the About box.
class SystemDialogPrompts : public DialogPrompts {
public:
    explicit SystemDialogPrompts(QWidget& owner) : m_owner(owner) {}

    void ShowMessage(const std::string& text) override;
    std::filesystem::path AskSavePath() override;
    std::filesystem::path AskOpenPath() override;
    bool RunPortSelection(PortNameSource& portNames) override;
    void RunAboutBox() override;

private:
    QWidget& m_owner;
};

}  // namespace rq508
