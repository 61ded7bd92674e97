// Save Config and Load Config of the main dialog, on real files in a fresh folder.

#include <QTest>

#include "main_dialog_fixture.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace rq508::testing {
namespace {

using rq508::testing::PrintTo;

namespace fs = std::filesystem;

const std::string kInitialFile =
    "Baud Rate\t\t19200\r\n"
    "Check Bit\t\tNone\r\n"
    "CAN Baud Rate\t\t125K\r\n"
    "CAN Protocol\t\tCAN2.0 A\r\n"
    "Modbus Slave Address\t1\r\n";

std::string FileWith(const std::string& baudRate, const std::string& checkBit,
                     const std::string& canBaudRate, const std::string& protocol,
                     const std::string& slaveAddress) {
    return "Baud Rate\t\t" + baudRate + "\r\nCheck Bit\t\t" + checkBit + "\r\nCAN Baud Rate\t\t" +
           canBaudRate + "\r\nCAN Protocol\t\t" + protocol + "\r\nModbus Slave Address\t" +
           slaveAddress + "\r\n";
}

class SaveLoadTest : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        ASSERT_FALSE(folder.empty());
    }
    std::string SaveAndRead() {
        prompts->savePath = folder / "saved.txt";
        QTest::mouseClick(Button(kIdSaveButton), Qt::LeftButton);
        return ReadWholeFile(prompts->savePath);
    }
    void Load(const std::string& contents) {
        prompts->openPath = folder / "loaded.txt";
        WriteWholeFile(prompts->openPath, contents);
        QTest::mouseClick(Button(kIdLoadButton), Qt::LeftButton);
    }

    ScratchFolder scratch{"rq508-ui"};
    const fs::path& folder = scratch.Path();
};

TEST_F(SaveLoadTest, SavingTheInitialStateWritesThe104ByteFile) {
    const std::string saved = SaveAndRead();
    EXPECT_EQ(saved, kInitialFile);
    EXPECT_EQ(saved.size(), 104u);
    EXPECT_TRUE(prompts->messages.empty());
}

struct FallbackCase {
    const char* name;
    int listId;
    std::string expectedFile;
};

class SaveFallbackTest : public SaveLoadTest, public ::testing::WithParamInterface<FallbackCase> {};

TEST_P(SaveFallbackTest, ListWithoutSelectionSavesItsFallbackEntry) {
    List(kIdBaudRateList)->setCurrentIndex(0);  // "300", so the fallback shows
    List(GetParam().listId)->setCurrentIndex(-1);
    List(GetParam().listId)->setEditText("typed");
    EXPECT_EQ(SaveAndRead(), GetParam().expectedFile);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SaveFallbackTest,
    ::testing::Values(FallbackCase{"BaudRate", kIdBaudRateList,
                                   FileWith("19200", "None", "125K", "CAN2.0 A", "1")},
                      FallbackCase{"CheckBit", kIdCheckBitList,
                                   FileWith("300", "Odd", "125K", "CAN2.0 A", "1")},
                      FallbackCase{"CanBaudRate", kIdCanBaudRateList,
                                   FileWith("300", "None", "100K", "CAN2.0 A", "1")}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SaveLoadTest, ProtocolLineSaysBWhenAIsNotChecked) {
    dialog->Control<QRadioButton>(kIdCanBRadio)->setChecked(true);
    EXPECT_EQ(SaveAndRead(), FileWith("19200", "None", "125K", "CAN2.0 B", "1"));
    UncheckBothProtocols(*dialog);
    EXPECT_EQ(SaveAndRead(), FileWith("19200", "None", "125K", "CAN2.0 B", "1"));
}

TEST_F(SaveLoadTest, SlaveAddressIsSavedExactlyAsTyped) {
    SlaveAddressBox()->setText("12 34");
    EXPECT_EQ(SaveAndRead(), FileWith("19200", "None", "125K", "CAN2.0 A", "12 34"));
}

TEST_F(SaveLoadTest, LoadShowsEveryValueAndSelectsTableEntries) {
    Load(FileWith("9600", "Mark", "1M", "CAN2.0 B", "500"));
    EXPECT_EQ(StateOf(*dialog), (ControlsState{"9600", 4, "Mark", 3, "1M", 0, false, true, "500"}));
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(SaveLoadTest, LoadedValueOutsideTheTableIsShownButNeverSaved) {
    Load(FileWith("4800", "none", "15K", "CAN2.0 A", "3"));
    EXPECT_EQ(StateOf(*dialog),
              (ControlsState{"4800", -1, "none", -1, "15K", -1, true, false, "3"}));
    EXPECT_EQ(SaveAndRead(), FileWith("19200", "Odd", "100K", "CAN2.0 A", "3"));
}

struct RejectedLoadCase {
    const char* name;
    const char* contents;  // null: the file does not exist
    const char* message;
};

class RejectedLoadTest : public SaveLoadTest,
                         public ::testing::WithParamInterface<RejectedLoadCase> {};

TEST_P(RejectedLoadTest, FailedLoadLeavesEveryControlAsItWas) {
    List(kIdCheckBitList)->setCurrentIndex(2);
    SlaveAddressBox()->setText("77");
    const ControlsState before = StateOf(*dialog);
    prompts->openPath = folder / "file.txt";
    if (GetParam().contents) {
        WriteWholeFile(prompts->openPath, GetParam().contents);
    }
    QTest::mouseClick(Button(kIdLoadButton), Qt::LeftButton);
    EXPECT_EQ(prompts->messages, std::vector<std::string>{GetParam().message});
    EXPECT_EQ(StateOf(*dialog), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RejectedLoadTest,
    ::testing::Values(
        RejectedLoadCase{"MissingFile", nullptr, "File does not exist!"},
        RejectedLoadCase{"EmptyFile", "", "Unrecognized file!"},
        RejectedLoadCase{"LowerCaseLabel",
                         "baud rate 300 Check Bit Odd CAN Baud Rate 1M CAN Protocol CAN2.0 B "
                         "Modbus Slave Address 5",
                         "Unrecognized file!"},
        RejectedLoadCase{"LastLabelWrong",
                         "Baud Rate 300 Check Bit Odd CAN Baud Rate 1M CAN Protocol CAN2.0 B "
                         "Modbus Slave Adress 5",
                         "Unrecognized file!"},
        RejectedLoadCase{"ProtocolRunTogether",
                         "Baud Rate 300 Check Bit Odd CAN Baud Rate 1M CAN Protocol CAN2.0B "
                         "Modbus Slave Address 5",
                         "Unrecognized file!"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SaveLoadTest, FolderInsteadOfAFileCannotBeLoaded) {
    const ControlsState before = StateOf(*dialog);
    prompts->openPath = folder;
    QTest::mouseClick(Button(kIdLoadButton), Qt::LeftButton);
    EXPECT_EQ(prompts->messages, std::vector<std::string>{"File does not exist!"});
    EXPECT_EQ(StateOf(*dialog), before);
}

TEST_F(SaveLoadTest, CancelledDialogsWriteNothingChangeNothingAndSayNothing) {
    SlaveAddressBox()->setText("8");
    const ControlsState before = StateOf(*dialog);
    prompts->savePath.clear();
    prompts->openPath.clear();
    QTest::mouseClick(Button(kIdSaveButton), Qt::LeftButton);
    QTest::mouseClick(Button(kIdLoadButton), Qt::LeftButton);
    EXPECT_EQ(prompts->saveAsked, 1);
    EXPECT_EQ(prompts->openAsked, 1);
    EXPECT_TRUE(prompts->messages.empty());
    EXPECT_EQ(StateOf(*dialog), before);
    EXPECT_TRUE(fs::is_empty(folder));
}

struct FailedSaveCase {
    const char* name;
    bool (*prepare)(const fs::path& folder, fs::path& target);
};

class FailedSaveTest : public SaveLoadTest, public ::testing::WithParamInterface<FailedSaveCase> {};

TEST_P(FailedSaveTest, SaveThatCannotBeWrittenSaysSo) {
    fs::path target;
    if (!GetParam().prepare(folder, target)) {
        GTEST_SKIP() << "this machine cannot stage the failure";
    }
    prompts->savePath = target;
    QTest::mouseClick(Button(kIdSaveButton), Qt::LeftButton);
    EXPECT_EQ(prompts->messages, std::vector<std::string>{"Save configuration failed!"});
}

INSTANTIATE_TEST_SUITE_P(Cases, FailedSaveTest,
                         ::testing::Values(FailedSaveCase{"MissingFolder",
                                                          [](const fs::path& folder,
                                                             fs::path& target) {
                                                              target =
                                                                  folder / "absent" / "saved.txt";
                                                              return true;
                                                          }},
                                           // Opening succeeds, writing fails: the full-disk device.
                                           FailedSaveCase{"FullDisk",
                                                          [](const fs::path&, fs::path& target) {
                                                              target = "/dev/full";
                                                              return fs::exists(target);
                                                          }}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SaveLoadTest, SavedFileLoadsBackIntoAnotherDialogUnchanged) {
    List(kIdBaudRateList)->setCurrentIndex(8);
    List(kIdCheckBitList)->setCurrentIndex(4);
    List(kIdCanBaudRateList)->setCurrentIndex(6);
    dialog->Control<QRadioButton>(kIdCanBRadio)->setChecked(true);
    SlaveAddressBox()->setText("42");
    const ControlsState saved = StateOf(*dialog);
    SaveAndRead();

    CGatewayConfigDlg other(port, clock, portNames);
    auto otherPrompts = std::make_unique<TestPrompts>();
    otherPrompts->openPath = prompts->savePath;
    other.SetPrompts(std::move(otherPrompts));
    other.OnLoadConfig();
    EXPECT_EQ(StateOf(other), saved);
}

}  // namespace
}  // namespace rq508::testing
