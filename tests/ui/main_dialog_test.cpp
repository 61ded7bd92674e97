// The main configuration dialog on real widgets, with a scripted port behind its channel.

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include "link/frames.h"
#include "main_dialog_fixture.h"
#include "settings/option_tables.h"

namespace rq508::testing {
namespace {

using rq508::testing::PrintTo;

const std::vector<uint8_t> kDownloadAck = {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD};

std::vector<uint8_t> UploadReplyCarrying(const GatewaySettings& settings) {
    // The gateway's reply has the download frame's layout.
    const DownloadFrame frame = EncodeDownloadFrame(settings);
    return {frame.begin(), frame.end()};
}

QStringList EntriesOf(const QComboBox& list) {
    QStringList entries;
    for (int i = 0; i < list.count(); ++i) {
        entries << list.itemText(i);
    }
    return entries;
}

QStringList TableTexts(const OptionTable& table) {
    QStringList texts;
    for (const OptionEntry& entry : table.entries) {
        texts << QString::fromUtf8(entry.text.data(), static_cast<qsizetype>(entry.text.size()));
    }
    return texts;
}

void TypeInto(QLineEdit& box, const QString& text) {
    box.setFocus();
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, text);
}

TEST_F(MainDialogTest, StartsWithInitialSettingsAndFocusInBaudRateList) {
    ASSERT_TRUE(ShowActive(*dialog));
    EXPECT_EQ(StateOf(*dialog), kInitialState);
    EXPECT_EQ(QApplication::focusWidget(), List(kIdBaudRateList));
    EXPECT_EQ(dialog->windowTitle(), "RQ-508");
    EXPECT_FALSE(dialog->Channel().IsOpen());
}

TEST_F(MainDialogTest, WindowIconIsTheApplicationIconInItsSizes) {
    const QList<QSize> sizes = dialog->windowIcon().availableSizes();
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)}) {
        EXPECT_TRUE(sizes.contains(size)) << size.width();
    }
}

TEST_F(MainDialogTest, ListsShowTheirTablesInTableOrder) {
    EXPECT_EQ(EntriesOf(*List(kIdBaudRateList)), TableTexts(BaudRateOptions));
    EXPECT_EQ(EntriesOf(*List(kIdCheckBitList)),
              QStringList({"None", "Odd", "Even", "Mark", "Space"}));
    EXPECT_EQ(EntriesOf(*List(kIdCanBaudRateList)), TableTexts(CanBaudRateOptions));
    EXPECT_EQ(List(kIdBaudRateList)->itemText(0), "300");
    EXPECT_EQ(List(kIdCanBaudRateList)->itemText(0), "1M");
}

TEST_F(MainDialogTest, TypingIntoAListNeitherAddsNorSelectsAnEntry) {
    ASSERT_TRUE(ShowActive(*dialog));
    QComboBox* baudRate = List(kIdBaudRateList);
    baudRate->lineEdit()->selectAll();
    QTest::keyClicks(baudRate, "300");
    QTest::keyClick(baudRate, Qt::Key_Tab);  // editing ends as the list loses the focus
    EXPECT_EQ(baudRate->currentText(), "300");
    EXPECT_EQ(baudRate->currentIndex(), 5);
    EXPECT_EQ(baudRate->count(), 9);
    EXPECT_EQ(dialog->SettingsFromControls().baudRate, 19200u);
}

TEST_F(MainDialogTest, TabVisitsTheTabStopsInTemplateOrder) {
    ASSERT_TRUE(ShowActive(*dialog));
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited,
              QStringList({"1002", "1003", "1006", "1008", "1009", "1011", "1012", "1001"}));
}

TEST_F(MainDialogTest, ProtocolButtonsAreAutomaticAndNoTabStops) {
    ASSERT_TRUE(ShowActive(*dialog));
    auto* canA = dialog->Control<QRadioButton>(kIdCanARadio);
    auto* canB = dialog->Control<QRadioButton>(kIdCanBRadio);
    QTest::mouseClick(canB, Qt::LeftButton);
    EXPECT_FALSE(canA->isChecked());
    EXPECT_TRUE(canB->isChecked());
    QTest::mouseClick(canA, Qt::LeftButton);
    EXPECT_TRUE(canA->isChecked());
    EXPECT_FALSE(canB->isChecked());
    EXPECT_FALSE(canA->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(canB->focusPolicy() & Qt::TabFocus);
}

// ---- The slave-address correction when the box loses the focus ----

struct CorrectionCase {
    const char* name;
    const char* typed;
    const char* shown;
};

class SlaveAddressCorrectionTest : public MainDialogTest,
                                   public ::testing::WithParamInterface<CorrectionCase> {};

TEST_P(SlaveAddressCorrectionTest, LeavingTheBoxCorrectsOnlyOutOfRangeNumbers) {
    ASSERT_TRUE(ShowActive(*dialog));
    TypeInto(*SlaveAddressBox(), QString::fromUtf8(GetParam().typed));
    EXPECT_EQ(SlaveAddressBox()->text(), QString::fromUtf8(GetParam().typed));
    QTest::keyClick(SlaveAddressBox(), Qt::Key_Tab);
    EXPECT_EQ(SlaveAddressBox()->text(), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlaveAddressCorrectionTest,
    ::testing::Values(CorrectionCase{"Zero", "0", "1"}, CorrectionCase{"Negative", "-5", "1"},
                      CorrectionCase{"Letters", "abc", "1"}, CorrectionCase{"Empty", "", "1"},
                      CorrectionCase{"Hundred", "100", "99"},
                      CorrectionCase{"AboveByte", "250", "99"},
                      CorrectionCase{"Large", "100000", "99"},
                      CorrectionCase{"BeyondThirtyTwoBits", "4294967297", "99"},
                      CorrectionCase{"InRange", "42", "42"},
                      CorrectionCase{"LeadingZero", "042", "042"},
                      CorrectionCase{"TrailingLetters", "42abc", "42abc"},
                      CorrectionCase{"LeadingBlank", " 42", " 42"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainDialogTest, TypedAddressIsCorrectedBeforeDownloadClickBuildsTheSettings) {
    g_portName = "/dev/ttyFAKE0";
    port.reply = {{10, kDownloadAck}};
    ASSERT_TRUE(ShowActive(*dialog));
    TypeInto(*SlaveAddressBox(), "150");

    QTest::mouseClick(Button(kIdDownloadButton), Qt::LeftButton);

    EXPECT_EQ(SlaveAddressBox()->text(), "99");
    ASSERT_EQ(port.written.size(), kDownloadFrameSize);
    const auto sent = DecodeUploadReply(port.written, port.written.size());
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->slaveAddress, 99);
    EXPECT_EQ(prompts->messages, std::vector<std::string>{"Download is successful!"});
}

// ---- Showing uploaded settings ----

struct UploadCase {
    const char* name;
    GatewaySettings received;
    ControlsState shown;
};

// Each row differs from the initial settings in the values it names.
GatewaySettings Received(void (*change)(GatewaySettings&)) {
    GatewaySettings settings;
    change(settings);
    return settings;
}

class UploadDisplayTest : public MainDialogTest,
                          public ::testing::WithParamInterface<UploadCase> {};

TEST_P(UploadDisplayTest, ControlsShowTheReceivedValuesWhenSuccessIsAnnounced) {
    g_portName = "/dev/ttyFAKE0";
    port.reply = {{10, UploadReplyCarrying(GetParam().received)}};
    // Start away from every value the rows expect, so that stale selections would show.
    List(kIdBaudRateList)->setCurrentIndex(0);
    List(kIdCheckBitList)->setCurrentIndex(2);
    List(kIdCanBaudRateList)->setCurrentIndex(8);
    dialog->Control<QRadioButton>(kIdCanBRadio)->setChecked(true);
    SlaveAddressBox()->setText("55");
    std::optional<ControlsState> stateDuringMessage;
    prompts->onMessage = [&](const std::string&) { stateDuringMessage = StateOf(*dialog); };

    QTest::mouseClick(Button(kIdUploadButton), Qt::LeftButton);

    EXPECT_EQ(prompts->messages, std::vector<std::string>{"Upload is successful!"});
    ASSERT_TRUE(stateDuringMessage);
    EXPECT_EQ(*stateDuringMessage, GetParam().shown);
    EXPECT_EQ(StateOf(*dialog), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UploadDisplayTest,
    ::testing::Values(UploadCase{"InitialSettings", GatewaySettings{}, kInitialState},
                      UploadCase{"BaudRateOutsideTable",
                                 Received([](GatewaySettings& s) { s.baudRate = 4800; }),
                                 {"4800", -1, "None", 0, "125K", 3, true, false, "1"}},
                      UploadCase{"BaudRateEqualToAnIndex",
                                 Received([](GatewaySettings& s) { s.baudRate = 2; }),
                                 {"2", -1, "None", 0, "125K", 3, true, false, "1"}},
                      UploadCase{"CheckBitBeyondTable",
                                 Received([](GatewaySettings& s) { s.checkBit = 7; }),
                                 kInitialState},
                      UploadCase{"CheckBitSpace",
                                 Received([](GatewaySettings& s) { s.checkBit = 4; }),
                                 {"19200", 5, "Space", 4, "125K", 3, true, false, "1"}},
                      UploadCase{"CanRate62",
                                 Received([](GatewaySettings& s) { s.canBaudRate = 62; }),
                                 {"19200", 5, "None", 0, "62.5K", 5, true, false, "1"}},
                      UploadCase{"CanRate1000",
                                 Received([](GatewaySettings& s) { s.canBaudRate = 1000; }),
                                 {"19200", 5, "None", 0, "1M", 0, true, false, "1"}},
                      UploadCase{"CanRateOutsideTable",
                                 Received([](GatewaySettings& s) { s.canBaudRate = 15; }),
                                 {"19200", 5, "None", 0, "15K", -1, true, false, "1"}},
                      UploadCase{"ProtocolTwo",
                                 Received([](GatewaySettings& s) { s.canProtocol = 2; }),
                                 {"19200", 5, "None", 0, "125K", 3, false, true, "1"}},
                      UploadCase{"AddressZero",
                                 Received([](GatewaySettings& s) { s.slaveAddress = 0; }),
                                 {"19200", 5, "None", 0, "125K", 3, true, false, "0"}},
                      UploadCase{"Address200",
                                 Received([](GatewaySettings& s) { s.slaveAddress = 200; }),
                                 {"19200", 5, "None", 0, "125K", 3, true, false, "200"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainDialogTest, UploadedOutOfTableValuesDownloadAsTheFallbacks) {
    g_portName = "/dev/ttyFAKE0";
    GatewaySettings received;
    received.baudRate = 4800;
    received.canBaudRate = 15;
    port.reply = {{10, UploadReplyCarrying(received)}};
    QTest::mouseClick(Button(kIdUploadButton), Qt::LeftButton);

    const GatewaySettings built = dialog->SettingsFromControls();
    EXPECT_EQ(built.baudRate, 19200u);
    EXPECT_EQ(built.canBaudRate, 100u);
}

TEST_F(MainDialogTest, FailedUploadLeavesTheControlsAndThePortAsTheyWere) {
    g_portName = "/dev/ttyFAKE0";
    SlaveAddressBox()->setText("7");
    const ControlsState before = StateOf(*dialog);
    port.reply = {};  // the gateway stays silent

    QTest::mouseClick(Button(kIdUploadButton), Qt::LeftButton);

    EXPECT_EQ(prompts->messages, std::vector<std::string>{"Upload failed!"});
    EXPECT_EQ(StateOf(*dialog), before);
    EXPECT_EQ(g_portName, "/dev/ttyFAKE0");
    EXPECT_FALSE(dialog->Channel().IsOpen());
}

// A port that notes the cursor the window shows while the frame goes out.
class CursorNotingPort : public FakeSerialPort {
public:
    using FakeSerialPort::FakeSerialPort;
    void Write(const uint8_t* bytes, size_t count) override {
        const QCursor* cursor = QApplication::overrideCursor();
        cursorDuringWrite = cursor ? cursor->shape() : Qt::ArrowCursor;
        FakeSerialPort::Write(bytes, count);
    }
    Qt::CursorShape cursorDuringWrite = Qt::ArrowCursor;
};

TEST_F(MainDialogTest, TransferShowsTheWaitCursorAndRestoresIt) {
    CursorNotingPort noting(clock);
    CGatewayConfigDlg window(noting, clock, portNames);
    window.SetPrompts(std::make_unique<TestPrompts>());
    g_portName = "/dev/ttyFAKE0";
    window.OnDownloadConfig();
    EXPECT_EQ(noting.cursorDuringWrite, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ---- The port dialog runs only while no port is chosen ----

TEST_F(MainDialogTest, CancelledPortDialogSendsNothingAndAsksAgainNextTime) {
    prompts->acceptPortDialog = false;
    QTest::mouseClick(Button(kIdDownloadButton), Qt::LeftButton);
    EXPECT_EQ(prompts->portDialogs, 1);
    EXPECT_TRUE(port.calls.empty());
    EXPECT_TRUE(prompts->messages.empty());
    EXPECT_TRUE(g_portName.empty());

    QTest::mouseClick(Button(kIdUploadButton), Qt::LeftButton);
    EXPECT_EQ(prompts->portDialogs, 2);
    EXPECT_TRUE(port.calls.empty());
}

TEST_F(MainDialogTest, ChosenPortIsKeptEvenAfterTransfersFail) {
    port.failOpen = true;
    QTest::mouseClick(Button(kIdDownloadButton), Qt::LeftButton);
    QTest::mouseClick(Button(kIdUploadButton), Qt::LeftButton);
    QTest::mouseClick(Button(kIdDownloadButton), Qt::LeftButton);

    EXPECT_EQ(prompts->portDialogs, 1);
    EXPECT_EQ(g_portName, "/dev/ttyFAKE0");
    ASSERT_EQ(prompts->messages.size(), 3u);
    EXPECT_EQ(prompts->messages[0], "Port/dev/ttyFAKE0 failed to open!");
}

// ---- One action at a time ----

struct ClickDuringActionCase {
    const char* name;
    int buttonId;
};

class ClickDuringActionTest : public MainDialogTest,
                              public ::testing::WithParamInterface<ClickDuringActionCase> {};

// A click can reach a button while another action still runs (from a nested event loop, or from
// an assistive tool that ignores the modal box); it must not start a second action inside it.
TEST_P(ClickDuringActionTest, AButtonClickedWhileAnUploadRunsIsDropped) {
    g_portName = "/dev/ttyFAKE0";
    bool clicked = false;
    prompts->onMessage = [&](const std::string&) {
        if (!clicked) {
            clicked = true;
            Button(GetParam().buttonId)->click();
        }
    };
    Button(kIdUploadButton)->click();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "Open /dev/ttyFAKE0"), 1);
    EXPECT_EQ(prompts->messages, std::vector<std::string>{"Upload failed!"});
    EXPECT_EQ(prompts->saveAsked + prompts->openAsked, 0);

    // Once the upload has returned, the next click acts.
    Button(GetParam().buttonId)->click();
    EXPECT_EQ(prompts->messages.size() + prompts->saveAsked + prompts->openAsked, 2u);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ClickDuringActionTest,
                         ::testing::Values(ClickDuringActionCase{"Download", kIdDownloadButton},
                                           ClickDuringActionCase{"Upload", kIdUploadButton},
                                           ClickDuringActionCase{"Save", kIdSaveButton},
                                           ClickDuringActionCase{"Load", kIdLoadButton}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- Closing ----

struct EnterCase {
    const char* name;
    int focusedId;
};

class EnterClosesTest : public MainDialogTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterClosesTest, EnterOutsideAPushButtonEndsTheDialogWithOk) {
    ASSERT_TRUE(ShowActive(*dialog));
    QWidget* focused = dialog->Control<QWidget>(GetParam().focusedId);
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(Cases, EnterClosesTest,
                         ::testing::Values(EnterCase{"SlaveAddressBox", kIdSlaveAddressBox},
                                           EnterCase{"BaudRateList", kIdBaudRateList},
                                           EnterCase{"CanBaudRateList", kIdCanBaudRateList}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainDialogTest, EnterInAListDoesNotSelectTheTypedText) {
    ASSERT_TRUE(ShowActive(*dialog));
    QComboBox* baudRate = List(kIdBaudRateList);
    baudRate->lineEdit()->selectAll();
    QTest::keyClicks(baudRate, "300");
    QTest::keyClick(baudRate, Qt::Key_Return);
    EXPECT_EQ(baudRate->currentIndex(), 5);
}

TEST_F(MainDialogTest, EnterOnAFocusedPushButtonPressesIt) {
    ASSERT_TRUE(ShowActive(*dialog));
    Button(kIdSaveButton)->setFocus();
    QTest::keyClick(Button(kIdSaveButton), Qt::Key_Return);
    EXPECT_EQ(prompts->saveAsked, 1);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(MainDialogTest, NoPushButtonIsDefault) {
    for (int id : {kIdDownloadButton, kIdUploadButton, kIdSaveButton, kIdLoadButton}) {
        EXPECT_FALSE(Button(id)->isDefault()) << id;
        EXPECT_FALSE(Button(id)->autoDefault()) << id;
    }
}

TEST_F(MainDialogTest, EscapeEndsTheDialogWithCancel) {
    ASSERT_TRUE(ShowActive(*dialog));
    QTest::keyClick(List(kIdBaudRateList), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(MainDialogTest, CloseBoxEndsTheDialogWithCancel) {
    ASSERT_TRUE(ShowActive(*dialog));
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

// ---- The About item ----

TEST_F(MainDialogTest, WindowMenuEndsWithSeparatorAndAboutItem) {
    QMenu menu;
    dialog->FillWindowMenu(menu);
    const QList<QAction*> actions = menu.actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions.back()->text(), "About RQ-508(&A)...");
    actions.back()->trigger();
    EXPECT_EQ(prompts->aboutBoxes, 1);
}

TEST_F(MainDialogTest, AboutCommandOpensTheAboutBoxWhateverItsLowBits) {
    dialog->OnSysCommand(0x0010);
    dialog->OnSysCommand(0x0013);
    EXPECT_EQ(prompts->aboutBoxes, 2);
}

TEST_F(MainDialogTest, RightClickOnTheDialogOpensTheWindowMenu) {
    ASSERT_TRUE(ShowActive(*dialog));
    QString lastItem;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu) {
            lastItem = menu->actions().back()->text();
            menu->actions().back()->trigger();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            dialog->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(dialog.get(), &event);
    EXPECT_EQ(lastItem, "About RQ-508(&A)...");
    EXPECT_EQ(prompts->aboutBoxes, 1);
}

TEST_F(MainDialogTest, F1OpensTheAboutBox) {
    ASSERT_TRUE(ShowActive(*dialog));
    QTest::keyClick(List(kIdBaudRateList), Qt::Key_F1);
    EXPECT_EQ(prompts->aboutBoxes, 1);
}

}  // namespace
}  // namespace rq508::testing
