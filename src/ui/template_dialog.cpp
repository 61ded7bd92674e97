#include "ui/template_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

#include "ui/held_key_filter.h"

namespace rq508 {
namespace {

bool IsEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent,
                               const std::map<int, ControlFactory>& factories)
    : QDialog(parent), m_controls(BuildDialog(*this, dialogTemplate, factories)) {
    // A held Enter or Esc acts once, here and in the boxes and dialogs this dialog opens.
    DropHeldKeyRepeats();
    // Buttons with the ids 1 and 2 issue the OK and Cancel commands.
    if (auto* ok = Control<QPushButton>(kIdOk)) {
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    }
    if (auto* cancel = Control<QPushButton>(kIdCancel)) {
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }
    // A combo box with an edit field would look the typed text up in its list on Enter and
    // select what it finds; here Enter belongs to the dialog while the list is closed.
    for (const auto& [id, widget] : m_controls) {
        if (qobject_cast<QComboBox*>(widget)) {
            widget->installEventFilter(this);
        }
    }
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
    if (IsEnterKey(event)) {
        PressEnter();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnterKey(event)) {
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (combo && !combo->view()->isVisible()) {
            PressEnter();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TemplateDialog::PressEnter() {
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
        focused && focused->isEnabled()) {
        focused->click();
        return;
    }
    for (auto* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        if (button->isDefault()) {
            if (button->isEnabled()) {
                button->click();
            }
            return;
        }
    }
    accept();
}

}  // namespace rq508
