#include "ui/about_box.h"

#include <QLabel>
#include <QPixmap>

#include "ui/about_template.h"
#include "ui/link_label.h"

namespace rq508 {
namespace {

// Bitmap 131, the maker's logo (src/ui/pictures).
const QString kLogoPath = QStringLiteral(":/pictures/logo.bmp");

std::map<int, ControlFactory> LinkFactory(DesktopShell& desktop) {
    return {{kIdAboutLink, [&desktop](const ControlTemplate&, QWidget* parent) -> QWidget* {
                 return new CLinkLabel(desktop, parent);
             }}};
}

}  // namespace

CAboutBox::CAboutBox(DesktopShell& desktop, QWidget* parent)
    : TemplateDialog(kAboutTemplate, parent, LinkFactory(desktop)),
      m_linkLabel(Control<CLinkLabel>(kIdAboutLink)) {
    // A bitmap picture takes the size of its bitmap, with its top-left corner in place.
    if (auto* logo = findChild<QLabel*>(QStringLiteral("logo"))) {
        const QPixmap picture(kLogoPath);
        logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        logo->setPixmap(picture);
        if (!picture.isNull()) {
            logo->resize(picture.size());
        }
    }
    DoDataExchange();
}

void CAboutBox::DoDataExchange() {
    m_linkLabel->Attach();
}

}  // namespace rq508
