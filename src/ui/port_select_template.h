#pragma once

#include "ui/dialog_template.h"

namespace rq508 {

// Control ids of the port selection dialog, template 129, besides kIdOk and kIdCancel.
enum PortSelectControlId : int {
    kIdPortList = 1000,
    kIdLineBaudRateList = 1001,
    kIdLineCheckBitList = 1002,
};

extern const DialogTemplate kPortSelectTemplate;

}  // namespace rq508
