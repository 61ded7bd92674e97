#pragma once

#include "ui/desktop_shell.h"
#include "ui/template_dialog.h"

namespace rq508 {

class CLinkLabel;

// The About box, template 100: version, the maker's logo, notice and support number, and a link
// to the maker's web page that opens through the desktop. Built anew for every showing, so the
// link starts in its normal colour each time. "Exit" and Enter accept it, Esc rejects it.
class CAboutBox : public TemplateDialog {
    Q_OBJECT
public:
    explicit CAboutBox(DesktopShell& desktop, QWidget* parent = nullptr);

    CLinkLabel& LinkLabel() const { return *m_linkLabel; }

private:
    void DoDataExchange();

    CLinkLabel* m_linkLabel;
};

}  // namespace rq508
