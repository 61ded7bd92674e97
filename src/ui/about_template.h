#pragma once

#include "ui/dialog_template.h"

namespace rq508 {

// Control id of the link in the About box, template 100, besides kIdOk ("Exit").
constexpr int kIdAboutLink = 1023;

extern const DialogTemplate kAboutTemplate;

}  // namespace rq508
