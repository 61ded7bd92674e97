#pragma once

// What the dialog tests share: prompts a test answers, a fixed list of port names, and a
// snapshot of the main dialog's controls.

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "link/port_name_source.h"
#include "support/active_window.h"
#include "ui/dialog_prompts.h"
#include "ui/gateway_config_dlg.h"
#include "ui/main_dialog_template.h"

namespace rq508::testing {

class FixedPortNames : public PortNameSource {
public:
    explicit FixedPortNames(std::vector<std::string> portNames = {})
        : names(std::move(portNames)) {}
    std::vector<std::string> PortNames() override {
        ++enumerations;
        return names;
    }
    std::vector<std::string> names;
    int enumerations = 0;
};

// Answers every prompt from its script and records what it was asked.
class TestPrompts : public DialogPrompts {
public:
    void ShowMessage(const std::string& text) override {
        messages.push_back(text);
        if (onMessage) {
            onMessage(text);
        }
    }
    std::filesystem::path AskSavePath() override {
        ++saveAsked;
        return savePath;
    }
    std::filesystem::path AskOpenPath() override {
        ++openAsked;
        return openPath;
    }
    // By default runs the real port dialog and presses its Ok, so g_portName comes from the
    // dialog's own handling.
    bool RunPortSelection(PortNameSource& portNames) override;
    void RunAboutBox() override { ++aboutBoxes; }

    std::vector<std::string> messages;
    std::function<void(const std::string&)> onMessage;
    std::filesystem::path savePath;
    std::filesystem::path openPath;
    bool acceptPortDialog = true;
    int portDialogs = 0;
    int saveAsked = 0;
    int openAsked = 0;
    int aboutBoxes = 0;
};

// Everything the main dialog's controls show, so a test can tell that nothing changed.
struct ControlsState {
    QString baudRateText;
    int baudRateIndex;
    QString checkBitText;
    int checkBitIndex;
    QString canBaudRateText;
    int canBaudRateIndex;
    bool canAChecked;
    bool canBChecked;
    QString slaveAddressText;

    friend bool operator==(const ControlsState&, const ControlsState&) = default;
};

ControlsState StateOf(const CGatewayConfigDlg& dialog);

// Unchecks both protocol buttons, which their exclusive group otherwise forbids.
void UncheckBothProtocols(CGatewayConfigDlg& dialog);

// A row of a table of cases prints as its name in test output (bring it in with a
// using-declaration beside the row type).
template <class Row>
requires requires(const Row& row) {
    std::string_view(row.name);
}
void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

}  // namespace rq508::testing
