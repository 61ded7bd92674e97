#include "ui/about_launcher.h"

#include <QMessageBox>

namespace rq508 {

// Stands in for the About box until CAboutBox exists.
void RunAboutDialog(QWidget& owner) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Gateway Configuration Software RQ-508"),
                    QStringLiteral("Version 2.2.0"), QMessageBox::Ok, &owner);
    box.exec();
}

}  // namespace rq508
