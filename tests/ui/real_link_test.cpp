// The main dialog through the real link and the system's serial port, against the virtual
// gateway rq508-sim on a pseudo-terminal.

#include <QPushButton>
#include <QTest>

#include <filesystem>

#include <gtest/gtest.h>

#include "link/port_discovery.h"
#include "platform/system.h"
#include "settings/settings_file.h"
#include "support/scratch_folder.h"
#include "support/virtual_gateway_process.h"
#include "ui/port_name.h"
#include "ui_test_support.h"

namespace rq508::testing {
namespace {

namespace fs = std::filesystem;

class RealLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_portName.clear();
        g_portList.clear();
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override {
        dialog.reset();
        gateway.Stop();
        g_portName.clear();
        g_portList.clear();
    }

    // Starts the gateway with the options and a dialog whose port dialog lists only it.
    void Start(std::vector<std::string> options) {
        options.insert(options.end(), {"--no-announce", "--state-file", stateFile.string()});
        std::string error;
        ASSERT_TRUE(gateway.Start(options, error)) << error;
        portNames.names = {gateway.PortPath()};
        dialog = std::make_unique<CGatewayConfigDlg>(*serialPort, *clock, portNames);
        auto testPrompts = std::make_unique<TestPrompts>();
        prompts = testPrompts.get();
        dialog->SetPrompts(std::move(testPrompts));
    }

    // What the gateway holds, from the state file it keeps.
    SettingsFileRecord Held() const {
        const ReadResult held = ReadSettingsFile(stateFile);
        EXPECT_EQ(held.outcome, ReadOutcome::Loaded);
        return held.record;
    }

    QPushButton* Button(int id) const { return dialog->Control<QPushButton>(id); }

    ScratchFolder scratch{"rq508-ui-link"};
    const fs::path& folder = scratch.Path();
    const fs::path stateFile = folder / "held.txt";
    VirtualGatewayProcess gateway;
    std::unique_ptr<SerialPortDevice> serialPort = MakeSystemSerialPort();
    std::unique_ptr<Clock> clock = MakeSystemClock();
    FixedPortNames portNames;
    std::unique_ptr<CGatewayConfigDlg> dialog;
    TestPrompts* prompts = nullptr;
};

TEST_F(RealLinkTest, DownloadPutsTheShownSettingsIntoTheGateway) {
    Start({});
    ASSERT_TRUE(ShowActive(*dialog));
    dialog->Control<QComboBox>(kIdBaudRateList)->setCurrentIndex(8);
    dialog->Control<QComboBox>(kIdCheckBitList)->setCurrentIndex(2);
    dialog->Control<QComboBox>(kIdCanBaudRateList)->setCurrentIndex(0);
    dialog->Control<QRadioButton>(kIdCanBRadio)->setChecked(true);
    auto* slaveAddress = dialog->Control<QLineEdit>(kIdSlaveAddressBox);
    slaveAddress->setFocus();
    slaveAddress->selectAll();
    QTest::keyClicks(slaveAddress, "150");

    QTest::mouseClick(Button(kIdDownloadButton), Qt::LeftButton);

    EXPECT_EQ(prompts->messages, std::vector<std::string>{"Download is successful!"});
    EXPECT_EQ(prompts->portDialogs, 1);
    EXPECT_EQ(g_portName, gateway.PortPath());
    ASSERT_TRUE(gateway.WaitForLogLine("download"));
    EXPECT_EQ(Held(), (SettingsFileRecord{"115200", "Even", "1M", 1, "99"}));
}

TEST_F(RealLinkTest, UploadShowsWhatTheGatewayHolds) {
    const fs::path initial = folder / "initial.txt";
    ASSERT_EQ(WriteSettingsFile(initial, {"2400", "Space", "62.5K", 1, "17"}).outcome,
              WriteOutcome::Written);
    Start({"--initial", initial.string()});

    QTest::mouseClick(Button(kIdUploadButton), Qt::LeftButton);

    EXPECT_EQ(prompts->messages, std::vector<std::string>{"Upload is successful!"});
    EXPECT_EQ(StateOf(*dialog),
              (ControlsState{"2400", 3, "Space", 4, "62.5K", 5, false, true, "17"}));
}

TEST_F(RealLinkTest, SilentGatewayFailsWithoutTouchingControlsOrPort) {
    Start({"--silent"});
    dialog->Control<QLineEdit>(kIdSlaveAddressBox)->setText("23");
    const ControlsState before = StateOf(*dialog);

    QTest::mouseClick(Button(kIdUploadButton), Qt::LeftButton);
    QTest::mouseClick(Button(kIdDownloadButton), Qt::LeftButton);

    EXPECT_EQ(prompts->messages, (std::vector<std::string>{"Upload failed!", "Download failed!"}));
    EXPECT_EQ(StateOf(*dialog), before);
    EXPECT_EQ(prompts->portDialogs, 1);
    EXPECT_EQ(g_portName, gateway.PortPath());
    EXPECT_FALSE(dialog->Channel().IsOpen());
}

TEST_F(RealLinkTest, BusyPortReportsThatItFailedToOpen) {
    Start({});
    // A second dialog with its own port object holds the line while this one tries.
    std::unique_ptr<SerialPortDevice> holder = MakeSystemSerialPort();
    PortError error;
    ASSERT_TRUE(holder->Open(gateway.PortPath(), error)) << error.osText;

    QTest::mouseClick(Button(kIdDownloadButton), Qt::LeftButton);
    holder->Close();

    EXPECT_EQ(prompts->messages,
              std::vector<std::string>{"Port" + gateway.PortPath() + " failed to open!"});
    EXPECT_EQ(g_portName, gateway.PortPath());
}

}  // namespace
}  // namespace rq508::testing
