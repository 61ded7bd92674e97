#pragma once

class QWidget;

namespace rq508 {

class DesktopShell;

// Shows the About box modally over the owner; its link opens through the desktop.
void RunAboutDialog(QWidget& owner, DesktopShell& desktop);

// A desktop that can open nothing: every open fails with "no application associated". For a
// dialog that was given no real desktop.
DesktopShell& UnavailableDesktop();

}  // namespace rq508
