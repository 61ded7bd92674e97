#include "ui/about_launcher.h"

#include "ui/about_box.h"

namespace rq508 {
namespace {

class NoDesktop : public DesktopShell {
public:
    int OpenAddress(const std::string&) override { return kNoAssociation; }
    std::optional<std::string> HtmlAssociationCommand() override { return std::nullopt; }
    int StartCommand(const std::string&) override { return kNoAssociation; }

private:
    static constexpr int kNoAssociation = 31;  // SE_ERR_NOASSOC
};

}  // namespace

void RunAboutDialog(QWidget& owner, DesktopShell& desktop) {
    CAboutBox box(desktop, &owner);
    box.exec();
}

DesktopShell& UnavailableDesktop() {
    static NoDesktop desktop;
    return desktop;
}

}  // namespace rq508
