#include "ui/main_dialog_template.h"

namespace rq508 {
namespace {

constexpr uint32_t kList = kVerticalScroll | kSorted | kTabStop;

// In template order, which is also the tab order. The transfer buttons come before Save and
// Load although they stand lower in the window. "Load Config " ends in a blank.
constexpr ControlTemplate kControls[] = {
    {kNoControlId, ControlKind::GroupBox, "RS-485 Setting", 16, 11, 75, 81, kStyleNone,
     "rs485Group"},
    {kNoControlId, ControlKind::StaticText, "Baud Rate", 23, 24, 44, 8, kGroupStart,
     "baudRateLabel"},
    {kIdBaudRateList, ControlKind::ComboBoxWithEdit, "", 23, 37, 61, 56, kList, "baudRateList"},
    {kNoControlId, ControlKind::StaticText, "Check Bit", 23, 58, 44, 8, kGroupStart,
     "checkBitLabel"},
    {kIdCheckBitList, ControlKind::ComboBoxWithEdit, "", 23, 72, 61, 52, kList, "checkBitList"},
    {kNoControlId, ControlKind::GroupBox, "CAN Setting", 16, 99, 75, 93, kStyleNone, "canGroup"},
    {kNoControlId, ControlKind::StaticText, "CAN Baud Rate", 23, 112, 57, 8, kGroupStart,
     "canBaudRateLabel"},
    {kIdCanBaudRateList, ControlKind::ComboBoxWithEdit, "", 23, 125, 61, 52, kList,
     "canBaudRateList"},
    {kNoControlId, ControlKind::GroupBox, "CAN Protocol", 23, 146, 61, 40, kStyleNone,
     "canProtocolGroup"},
    {kIdCanARadio, ControlKind::RadioButton, "CAN2.0 A", 29, 155, 48, 10, kAutoRadio, "canARadio"},
    {kIdCanBRadio, ControlKind::RadioButton, "CAN2.0 B", 29, 169, 48, 10, kAutoRadio, "canBRadio"},
    {kNoControlId, ControlKind::GroupBox, "Modbus Slave Setting", 102, 11, 75, 47, kStyleNone,
     "modbusGroup"},
    {kNoControlId, ControlKind::StaticText, "Slave Address", 107, 24, 75, 8, kGroupStart,
     "slaveAddressLabel"},
    {kIdSlaveAddressBox, ControlKind::EditBox, "", 109, 37, 61, 13,
     kBorder | kAutoHScroll | kTabStop, "slaveAddressBox"},
    {kIdDownloadButton, ControlKind::PushButton, "Download Config", 109, 148, 61, 14, kTabStop,
     "downloadButton"},
    {kIdUploadButton, ControlKind::PushButton, "Upload Config", 109, 169, 61, 14, kTabStop,
     "uploadButton"},
    {kIdSaveButton, ControlKind::PushButton, "Save Config", 109, 82, 61, 14, kTabStop,
     "saveButton"},
    {kIdLoadButton, ControlKind::PushButton, "Load Config ", 109, 104, 61, 14, kTabStop,
     "loadButton"},
    {kNoControlId, ControlKind::GroupBox, "Load/Save", 102, 68, 75, 59, kStyleNone,
     "loadSaveGroup"},
    {kNoControlId, ControlKind::GroupBox, "Upload/Download", 102, 133, 75, 59, kStyleNone,
     "transferGroup"},
};

}  // namespace

const DialogTemplate kMainDialogTemplate{
    102, "RQ-508", 191, 205, 9, kSystemMenu | kMinimizeBox | kAppWindow, kControls,
};

}  // namespace rq508
