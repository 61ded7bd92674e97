#include "gateway_config_app.h"

#include <QApplication>

#include <memory>

#include "app/system_desktop_shell.h"
#include "app/version.h"
#include "platform/system.h"
#include "ui/gateway_config_dlg.h"
#include "ui/system_dialog_prompts.h"

namespace rq508 {

CGatewayConfigApp g_app;

int CGatewayConfigApp::Run(int& argc, char** argv) {
    // Qt names the application after the executable, so a renamed copy carries its new name.
    QApplication application(argc, argv);
    // Lets the desktop match the window with the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kApplicationId.data()));
    InitInstance();
    return 0;
}

bool CGatewayConfigApp::InitInstance() {
    const auto serialPort = MakeSystemSerialPort();
    const auto clock = MakeSystemClock();
    const auto portNames = MakeSystemPortNameSource();
    SystemDesktopShell desktop;
    CGatewayConfigDlg dialog(*serialPort, *clock, *portNames);
    dialog.SetPrompts(std::make_unique<SystemDialogPrompts>(dialog, desktop));
    dialog.exec();
    return false;
}

}  // namespace rq508
