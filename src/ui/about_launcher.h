#pragma once

class QWidget;

namespace rq508 {

// Shows the About box modally over the owner.
void RunAboutDialog(QWidget& owner);

}  // namespace rq508
