#pragma once

// For tests on real widgets: focus changes and key presses arrive only at the active window.

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace rq508::testing {

// Shows the window and waits until it is the active one (generous: the machine may be busy).
inline bool ShowActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window, 10000);
}

}  // namespace rq508::testing
