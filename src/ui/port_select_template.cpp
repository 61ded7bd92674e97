#include "ui/port_select_template.h"

namespace rq508 {
namespace {

constexpr uint32_t kList = kVerticalScroll | kSorted | kTabStop;

// Ok comes first in template order, so it takes the focus when the dialog opens.
constexpr ControlTemplate kControls[] = {
    {kIdOk, ControlKind::DefaultPushButton, "Ok", 21, 105, 50, 14, kTabStop, "okButton"},
    {kIdCancel, ControlKind::PushButton, "Cancel", 82, 105, 50, 14, kTabStop, "cancelButton"},
    {kNoControlId, ControlKind::StaticText, "Serial No.", 25, 22, 43, 8, kStyleNone, "portLabel"},
    {kNoControlId, ControlKind::StaticText, "Baud Rate", 25, 48, 45, 8, kStyleNone,
     "baudRateLabel"},
    {kNoControlId, ControlKind::StaticText, "Check Bit", 25, 74, 40, 8, kStyleNone,
     "checkBitLabel"},
    {kIdPortList, ControlKind::ComboBoxWithEdit, "", 73, 19, 55, 47, kList, "portList"},
    {kIdLineBaudRateList, ControlKind::ComboBoxWithEdit, "", 73, 45, 55, 47, kList | kDisabled,
     "lineBaudRateList"},
    {kIdLineCheckBitList, ControlKind::ComboBoxWithEdit, "", 73, 71, 55, 48, kList | kDisabled,
     "lineCheckBitList"},
};

}  // namespace

const DialogTemplate kPortSelectTemplate{
    129, "Upload/Download Serial Setting", 153, 126, 9, kSystemMenu, kControls,
};

}  // namespace rq508
