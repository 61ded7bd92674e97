#include "ui/about_template.h"

#include <string>

#include "app/version.h"

namespace rq508 {
namespace {

const std::string kSupportLine = "Technical Support: " + std::string(kSupportTelephone);

// Exit is the only tab stop, so it takes the focus; the link is reached with the mouse only.
const ControlTemplate kControls[] = {
    {kNoControlId, ControlKind::StaticPicture, "", 132, 9, 82, 19, kStyleNone, "logo"},
    {kNoControlId, ControlKind::StaticText, kVersionLine, 14, 14, 102, 8, kGroupStart | kNoPrefix,
     "versionLabel"},
    {kNoControlId, ControlKind::StaticText, kLegalCopyright, 14, 31, 144, 8, kGroupStart,
     "noticeLabel"},
    {kIdOk, ControlKind::DefaultPushButton, "Exit", 164, 83, 50, 14, kGroupStart | kTabStop,
     "exitButton"},
    {kNoControlId, ControlKind::StaticText, kSupportLine, 14, 48, 140, 8, kGroupStart,
     "supportLabel"},
    {kNoControlId, ControlKind::StaticText, "More technical information, please visit:", 14, 65,
     145, 8, kGroupStart, "visitLabel"},
    {kIdAboutLink, ControlKind::StaticText, kMakerWebAddress, 14, 82, 93, 8, kGroupStart,
     "linkLabel"},
};

}  // namespace

const DialogTemplate kAboutTemplate{
    100, "Gateway Configuration Software RQ-508", 221, 104, 9, kSystemMenu, kControls,
};

}  // namespace rq508
