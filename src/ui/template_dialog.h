#pragma once

#include <QDialog>

#include <map>

#include "ui/dialog_builder.h"

namespace rq508 {

// A dialog built from a template, with the keyboard of the Windows dialog manager: Enter on a
// focused push button presses it; anywhere else it presses the default push button, or, when
// there is none, ends the dialog with OK. Esc and the close box end it through reject(). Only a
// fresh press of Enter or Esc counts, never the repeats of a held key (HeldKeyFilter).
class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr,
                            const std::map<int, ControlFactory>& factories = {});

    // The control with the id, or null when there is none of that kind.
    template <class Widget>
    Widget* Control(int id) const {
        const auto found = m_controls.find(id);
        return found == m_controls.end() ? nullptr : qobject_cast<Widget*>(found->second);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PressEnter();

    DialogControls m_controls;
};

}  // namespace rq508
