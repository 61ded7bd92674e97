#include "ui_test_support.h"

#include <QButtonGroup>

#include "ui/port_select_dlg.h"

namespace rq508::testing {

bool TestPrompts::RunPortSelection(PortNameSource& portNames) {
    ++portDialogs;
    CPortSelectDlg dialog(portNames);
    if (!acceptPortDialog) {
        dialog.reject();
        return false;
    }
    dialog.accept();
    return true;
}

ControlsState StateOf(const CGatewayConfigDlg& dialog) {
    const auto* baudRate = dialog.Control<QComboBox>(kIdBaudRateList);
    const auto* checkBit = dialog.Control<QComboBox>(kIdCheckBitList);
    const auto* canBaudRate = dialog.Control<QComboBox>(kIdCanBaudRateList);
    return {baudRate->currentText(),
            baudRate->currentIndex(),
            checkBit->currentText(),
            checkBit->currentIndex(),
            canBaudRate->currentText(),
            canBaudRate->currentIndex(),
            dialog.Control<QRadioButton>(kIdCanARadio)->isChecked(),
            dialog.Control<QRadioButton>(kIdCanBRadio)->isChecked(),
            dialog.Control<QLineEdit>(kIdSlaveAddressBox)->text()};
}

void UncheckBothProtocols(CGatewayConfigDlg& dialog) {
    auto* canA = dialog.Control<QRadioButton>(kIdCanARadio);
    auto* canB = dialog.Control<QRadioButton>(kIdCanBRadio);
    canA->group()->setExclusive(false);
    canA->setChecked(false);
    canB->setChecked(false);
    canA->group()->setExclusive(true);
}

}  // namespace rq508::testing
