#pragma once

#include "ui/dialog_template.h"

namespace rq508 {

// Control ids of the main configuration dialog, template 102.
enum MainDialogControlId : int {
    kIdBaudRateList = 1001,
    kIdCheckBitList = 1002,
    kIdCanBaudRateList = 1003,
    kIdCanARadio = 1004,
    kIdCanBRadio = 1005,
    kIdSlaveAddressBox = 1006,
    kIdDownloadButton = 1008,
    kIdUploadButton = 1009,
    kIdSaveButton = 1011,
    kIdLoadButton = 1012,
};

extern const DialogTemplate kMainDialogTemplate;

}  // namespace rq508
