#pragma once

// Stand-ins for the desktop and the warning box, shared by the link label and About box tests.

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "support/active_window.h"
#include "ui/desktop_shell.h"

namespace rq508::testing {

// A desktop that answers every open with the scripted result and records the addresses.
class StandInDesktop : public DesktopShell {
public:
    int openResult = 42;
    std::vector<std::string> opened;

    int OpenAddress(const std::string& address) override {
        opened.push_back(address);
        return openResult;
    }
    std::optional<std::string> HtmlAssociationCommand() override { return std::nullopt; }
    int StartCommand(const std::string&) override { return 2; }
};

struct ShownWarning {
    QString caption;
    QString text;
    bool mouseWasFree = false;  // nothing held the mouse while the warning was up
};

}  // namespace rq508::testing
