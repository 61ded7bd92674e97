#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

#include <gtest/gtest.h>

#include "fake_port.h"
#include "link/port_discovery.h"
#include "ui/port_name.h"
#include "ui_test_support.h"

namespace rq508::testing {

// A main dialog over a scripted port, with prompts the test answers. No port is chosen at the
// start of a test, and the dialog is deleted after it.
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_portName.clear();
        g_portList.clear();
        dialog = std::make_unique<CGatewayConfigDlg>(port, clock, portNames);
        auto testPrompts = std::make_unique<TestPrompts>();
        prompts = testPrompts.get();
        dialog->SetPrompts(std::move(testPrompts));
    }
    void TearDown() override {
        dialog.reset();
        g_portName.clear();
        g_portList.clear();
    }

    QComboBox* List(int id) const { return dialog->Control<QComboBox>(id); }
    QLineEdit* SlaveAddressBox() const { return dialog->Control<QLineEdit>(kIdSlaveAddressBox); }
    QPushButton* Button(int id) const { return dialog->Control<QPushButton>(id); }

    FakeClock clock;
    FakeSerialPort port{clock};
    FixedPortNames portNames{{"/dev/ttyFAKE0"}};
    std::unique_ptr<CGatewayConfigDlg> dialog;
    TestPrompts* prompts = nullptr;
};

// The state the dialog starts in.
inline const ControlsState kInitialState{"19200", 5, "None", 0, "125K", 3, true, false, "1"};

}  // namespace rq508::testing
