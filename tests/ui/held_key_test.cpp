// A key held down on the real windows: the port dialog, the message box and the main dialog, with
// the key events arriving at the focused window as the X server's events do. One press gives
// one action, however long the key stays down.

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include "main_dialog_fixture.h"
#include "ui/port_select_dlg.h"
#include "ui/system_dialog_prompts.h"

namespace rq508::testing {
namespace {

using rq508::testing::PrintTo;

// How long a key is held: this many repeats after its press.
constexpr int kRepeats = 12;
// The X server repeats a held key every 40 ms by default, stamping each release and press
// with the same time.
constexpr quint64 kRepeatInterval = 40;

// Delivers a key event to the focused window, as Qt delivers one from the X server: with the
// server's time stamp and with or without Qt's auto-repeat flag.
void PlatformKey(QEvent::Type type, Qt::Key key, quint64 time, bool autoRepeat = false) {
    QWindow* window = QGuiApplication::focusWindow();
    if (!window) {
        return;  // none of the program's windows has the focus: the key goes elsewhere
    }
    const QString text = key == Qt::Key_Escape ? QStringLiteral("\x1b") : QStringLiteral("\r");
    QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
    event.setTimestamp(time);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window, &event);
}

enum class HeldOn { PortDialog, MessageBox };

struct HeldKeyCase {
    const char* name;
    HeldOn heldOn;     // the window that receives the press
    Qt::Key key;       // the key held down
    bool flaggedByQt;  // whether the repeats carry Qt's auto-repeat flag
};

class HeldKeyTest : public MainDialogTest, public ::testing::WithParamInterface<HeldKeyCase> {
protected:
    int Uploads() const {
        return static_cast<int>(
            std::count(port.calls.begin(), port.calls.end(), "Open /dev/ttyFAKE0"));
    }

    // One step of the person at the keyboard, run from inside whatever window loop is running:
    // presses the key in the chosen window, holds it through its repeats wherever the focus goes,
    // releases it, and then closes with a fresh Enter whatever box is still open.
    void Step() {
        // A fresh timer each time: a running timer waits until its slot returns, and an action
        // may open a window whose loop runs inside this step.
        QTimer::singleShot(10, dialog.get(), [this] {
            if (!finished) {
                Step();
            }
        });
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && !dialog->isVisible()) {
            finished = true;  // the tool has ended
            return;
        }
        QWindow* focused = QGuiApplication::focusWindow();
        if (!focused || !focused->isVisible()) {
            // The window manager gives the focus to the topmost window.
            QWidget* top = modal ? modal : dialog.get();
            QApplication::setActiveWindow(top);
            return;
        }
        if (modal && modal->windowHandle() != focused) {
            return;  // the focus has not reached the window that just opened
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box && box != lastBox) {
            lastBox = box;
            ++boxesShown;
        }
        const HeldKeyCase& row = GetParam();
        const Qt::Key key = row.key;
        if (!pressed) {
            const bool inPlace = row.heldOn == HeldOn::PortDialog
                                     ? qobject_cast<CPortSelectDlg*>(modal) != nullptr
                                     : box != nullptr;
            if (inPlace) {
                pressed = true;
                PlatformKey(QEvent::KeyPress, key, time);
            }
        } else if (repeats < kRepeats) {
            ++repeats;
            time += kRepeatInterval;
            PlatformKey(QEvent::KeyRelease, key, time, row.flaggedByQt);
            PlatformKey(QEvent::KeyPress, key, time, row.flaggedByQt);
        } else if (!released) {
            released = true;
            PlatformKey(QEvent::KeyRelease, key, time += 10);
        } else if (modal) {
            PlatformKey(QEvent::KeyPress, Qt::Key_Return, time += 500);
            PlatformKey(QEvent::KeyRelease, Qt::Key_Return, time += 60);
        } else {
            finished = true;
        }
    }

    bool pressed = false;
    int repeats = 0;
    bool released = false;
    bool finished = false;
    quint64 time = 10000;
    QPointer<QMessageBox> lastBox;
    int boxesShown = 0;
};

TEST_P(HeldKeyTest, OnePressGivesOneUploadAndOneMessage) {
    dialog->SetPrompts(std::make_unique<SystemDialogPrompts>(*dialog));
    if (GetParam().heldOn == HeldOn::MessageBox) {
        g_portName = "/dev/ttyFAKE0";
    }
    ASSERT_TRUE(ShowActive(*dialog));
    Button(kIdUploadButton)->setFocus();
    Step();

    // Enter on "Upload Config": the port dialog or the message box opens inside this press.
    PlatformKey(QEvent::KeyPress, Qt::Key_Return, 1000);
    PlatformKey(QEvent::KeyRelease, Qt::Key_Return, 1100);
    ASSERT_TRUE(QTest::qWaitFor([this] { return finished; }, 60000));

    EXPECT_EQ(Uploads(), 1);
    EXPECT_EQ(boxesShown, 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(g_portName, "/dev/ttyFAKE0");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HeldKeyTest,
    ::testing::Values(
        HeldKeyCase{"EnterOnPortDialogRepeatsFlagged", HeldOn::PortDialog, Qt::Key_Return, true},
        HeldKeyCase{"EnterOnPortDialogRepeatsUnflagged", HeldOn::PortDialog, Qt::Key_Return, false},
        HeldKeyCase{"EnterOnMessageBox", HeldOn::MessageBox, Qt::Key_Return, false},
        HeldKeyCase{"KeypadEnterOnMessageBox", HeldOn::MessageBox, Qt::Key_Enter, true},
        HeldKeyCase{"EscapeOnMessageBox", HeldOn::MessageBox, Qt::Key_Escape, false}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace rq508::testing
