// The port dialog on real widgets, fed by a fixed list of port names.

#include <QAbstractItemView>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "link/port_discovery.h"
#include "ui/dialog_builder.h"
#include "ui/port_name.h"
#include "ui/port_select_dlg.h"
#include "ui/port_select_template.h"
#include "ui_test_support.h"

namespace rq508::testing {
namespace {

using rq508::testing::PrintTo;

class PortSelectTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_portName.clear();
        g_portList.clear();
    }
    void TearDown() override {
        dialog.reset();
        g_portName.clear();
        g_portList.clear();
    }
    CPortSelectDlg& Open(std::vector<std::string> names) {
        portNames.names = std::move(names);
        dialog = std::make_unique<CPortSelectDlg>(portNames);
        return *dialog;
    }
    QComboBox* List(int id) const { return dialog->Control<QComboBox>(id); }

    FixedPortNames portNames;
    std::unique_ptr<CPortSelectDlg> dialog;
};

QStringList EntriesOf(const QComboBox& list) {
    QStringList entries;
    for (int i = 0; i < list.count(); ++i) {
        entries << list.itemText(i);
    }
    return entries;
}

TEST_F(PortSelectTest, ListsPortsInDiscoveryOrderWithTheFirstSelected) {
    Open({"COM3", "COM1"});
    EXPECT_EQ(EntriesOf(*List(kIdPortList)), QStringList({"COM3", "COM1"}));
    EXPECT_EQ(List(kIdPortList)->currentIndex(), 0);
    dialog->accept();
    EXPECT_EQ(g_portName, "COM3");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(PortSelectTest, OkTakesTheSelectedEntryNotTheTypedText) {
    Open({"/dev/ttyS0", "/dev/ttyUSB0"});
    List(kIdPortList)->setCurrentIndex(1);
    List(kIdPortList)->setEditText("/dev/ttyTYPED");
    dialog->accept();
    EXPECT_EQ(g_portName, "/dev/ttyUSB0");
}

TEST_F(PortSelectTest, LineSettingsShowTheFixedValuesAndCannotBeChanged) {
    Open({"COM1"});
    EXPECT_EQ(List(kIdLineBaudRateList)->currentText(), "19200");
    EXPECT_EQ(List(kIdLineCheckBitList)->currentText(), "None");
    EXPECT_EQ(EntriesOf(*List(kIdLineCheckBitList)),
              QStringList({"None", "Odd", "Even", "Mark", "Space"}));
    EXPECT_EQ(List(kIdLineBaudRateList)->count(), 9);
    EXPECT_FALSE(List(kIdLineBaudRateList)->isEnabled());
    EXPECT_FALSE(List(kIdLineCheckBitList)->isEnabled());
    EXPECT_EQ(dialog->windowTitle(), "Upload/Download Serial Setting");
}

TEST_F(PortSelectTest, OkOnAnEmptyListChoosesTheEmptyName) {
    Open({});
    EXPECT_EQ(List(kIdPortList)->currentIndex(), -1);
    g_portName = "stale";  // shows that Ok writes the empty name
    dialog->accept();
    EXPECT_EQ(g_portName, "");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(PortSelectTest, EnterRightAfterOpeningAcceptsTheFirstPort) {
    Open({"/dev/ttyACM0", "/dev/ttyACM1"});
    ASSERT_TRUE(ShowActive(*dialog));
    EXPECT_EQ(QApplication::focusWidget(), dialog->Control<QPushButton>(kIdOk));
    EXPECT_TRUE(dialog->Control<QPushButton>(kIdOk)->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(g_portName, "/dev/ttyACM0");
}

TEST_F(PortSelectTest, EnterInThePortListAcceptsTheSelectedPort) {
    Open({"/dev/ttyACM0", "/dev/ttyACM1"});
    ASSERT_TRUE(ShowActive(*dialog));
    List(kIdPortList)->setFocus();
    List(kIdPortList)->setCurrentIndex(1);
    QTest::keyClick(List(kIdPortList), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(g_portName, "/dev/ttyACM1");
}

const std::string kGatewayPath = "/tmp/rq508-sim-0/gateway-12345";

struct LongNameCase {
    const char* name;
    std::vector<std::string> ports;
};

class LongPortNameTest : public PortSelectTest,
                         public ::testing::WithParamInterface<LongNameCase> {};

// The field keeps the template's 55 units and cuts a long name off; the drop-down shows it whole.
TEST_P(LongPortNameTest, DropDownShowsEveryNameWholeAndTheFieldKeepsItsWidth) {
    Open(GetParam().ports);
    ASSERT_TRUE(ShowActive(*dialog));
    QComboBox* list = List(kIdPortList);
    EXPECT_EQ(list->width(),
              DialogUnitsToPixels(73, 19, 55, 47, BaseUnitsOf(dialog->font())).width());

    list->showPopup();
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(view->isVisible());
    EXPECT_GT(view->width(), list->width());
    const int textWidth =
        view->fontMetrics().horizontalAdvance(QString::fromStdString(kGatewayPath));
    EXPECT_GE(view->viewport()->width(), textWidth);
    for (int row = 0; row < list->count(); ++row) {
        const QModelIndex entry = view->model()->index(row, 0);
        EXPECT_GE(view->viewport()->width(), view->sizeHintForIndex(entry).width()) << row;
    }
    list->hidePopup();
}

INSTANTIATE_TEST_SUITE_P(
    Lists, LongPortNameTest,
    ::testing::Values(LongNameCase{"GatewayAfterOnePort", {"/dev/ttyS0", kGatewayPath}},
                      LongNameCase{
                          "GatewayBelowAScrolledList",
                          {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3", "/dev/ttyUSB0",
                           "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM1", kGatewayPath}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(PortSelectTest, TooltipNamesTheSelectedPortInFull) {
    Open({"/dev/ttyS0", kGatewayPath});
    QComboBox* list = List(kIdPortList);
    EXPECT_EQ(list->toolTip(), "/dev/ttyS0");
    list->setCurrentIndex(1);
    EXPECT_EQ(list->toolTip(), QString::fromStdString(kGatewayPath));
    list->setEditText("/dev/ttyTYPED");  // what Ok takes stays the selected entry
    EXPECT_EQ(list->toolTip(), QString::fromStdString(kGatewayPath));

    Open({});
    EXPECT_EQ(List(kIdPortList)->toolTip(), "");
}

struct CancelCase {
    const char* name;
    void (*cancel)(CPortSelectDlg&);
};

class PortSelectCancelTest : public PortSelectTest,
                             public ::testing::WithParamInterface<CancelCase> {};

TEST_P(PortSelectCancelTest, CancelLeavesTheNameEmpty) {
    Open({"COM1"});
    ASSERT_TRUE(ShowActive(*dialog));
    GetParam().cancel(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(g_portName, "");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PortSelectCancelTest,
    ::testing::Values(
        CancelCase{"CancelButton",
                   [](CPortSelectDlg& d) {
                       QTest::mouseClick(d.Control<QPushButton>(kIdCancel), Qt::LeftButton);
                   }},
        CancelCase{"EnterOnFocusedCancel",
                   [](CPortSelectDlg& d) {
                       d.Control<QPushButton>(kIdCancel)->setFocus();
                       QTest::keyClick(d.Control<QPushButton>(kIdCancel), Qt::Key_Return);
                   }},
        CancelCase{"Escape",
                   [](CPortSelectDlg& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Escape); }},
        CancelCase{"CloseBox", [](CPortSelectDlg& d) { d.close(); }}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(PortSelectTest, EachOpeningListsEveryPortOnceFreshlyEnumerated) {
    Open({"COM1", "COM2"});
    dialog->reject();
    portNames.names = {"COM2"};
    dialog = std::make_unique<CPortSelectDlg>(portNames);
    EXPECT_EQ(EntriesOf(*List(kIdPortList)), QStringList({"COM2"}));
    EXPECT_EQ(g_portList, std::vector<std::string>({"COM2"}));
    EXPECT_EQ(portNames.enumerations, 2);
}

}  // namespace
}  // namespace rq508::testing
