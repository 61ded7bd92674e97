#include "ui/dialog_builder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace rq508 {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Windows rounds every conversion with MulDiv; so do we.
int Scale(int units, int base, int divisor) {
    return (units * base + divisor / 2) / divisor;
}

bool Has(const ControlTemplate& control, ControlStyle style) {
    return (control.styles & style) != 0;
}

Qt::Alignment StaticAlignment(const ControlTemplate& control) {
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (Has(control, kAlignRight)) {
        horizontal = Qt::AlignRight;
    } else if (Has(control, kAlignCenter)) {
        horizontal = Qt::AlignHCenter;
    }
    if (Has(control, kCenterImage)) {
        // A centred picture sits in the middle both ways; text is centred vertically only.
        return control.kind == ControlKind::StaticPicture ? Qt::AlignCenter
                                                          : horizontal | Qt::AlignVCenter;
    }
    return horizontal | Qt::AlignTop;
}

// Qt makes a radio button that took the focus reachable by Tab; the template's tab stops stay
// as listed.
class TemplateRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void focusInEvent(QFocusEvent* event) override {
        const Qt::FocusPolicy policy = focusPolicy();
        QRadioButton::focusInEvent(event);
        setFocusPolicy(policy);
    }
};

QWidget* CreateDefaultWidget(const ControlTemplate& control, QWidget* parent) {
    switch (control.kind) {
        case ControlKind::GroupBox:
            return new QGroupBox(parent);
        case ControlKind::StaticText:
        case ControlKind::StaticPicture:
            return new QLabel(parent);
        case ControlKind::ComboBoxWithEdit:
            return new QComboBox(parent);
        case ControlKind::RadioButton:
            return new TemplateRadioButton(parent);
        case ControlKind::EditBox:
            return new QLineEdit(parent);
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
            return new QPushButton(parent);
    }
    return new QWidget(parent);
}

bool TakesFocus(ControlKind kind) {
    return kind != ControlKind::GroupBox && kind != ControlKind::StaticText &&
           kind != ControlKind::StaticPicture;
}

void ConfigureComboBox(QComboBox& combo, const ControlTemplate& control, const QRect& dropped) {
    combo.setEditable(true);
    // Typing neither adds an entry nor picks one: only a selection counts.
    combo.setInsertPolicy(QComboBox::NoInsert);
    combo.setCompleter(nullptr);
    // Qt's combo box also selects the entry that matches the typed text when editing ends
    // (Enter, or the focus leaving); here only a selection made in the list counts.
    QObject::disconnect(combo.lineEdit(), SIGNAL(editingFinished()), &combo, nullptr);
    QObject::disconnect(combo.lineEdit(), SIGNAL(returnPressed()), &combo, nullptr);
    // Entries are inserted by position, which never sorts, so the sorted style changes nothing.
    const int fieldHeight = combo.sizeHint().height();
    combo.setGeometry(dropped.x(), dropped.y(), dropped.width(), fieldHeight);
    // The template's height is that of the dropped-down list; show as many rows as fit in it.
    // The list is still empty here, so a row is measured by the font.
    const int rowHeight = combo.fontMetrics().height() + 2;
    combo.setMaxVisibleItems(std::max(1, (dropped.height() - fieldHeight) / rowHeight));
    if (!Has(control, kVerticalScroll)) {
        combo.view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
}

void ApplyControl(QWidget& widget, const ControlTemplate& control, const QRect& geometry) {
    const QString text = ToQString(control.text);
    widget.setGeometry(geometry);
    if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
        group->setTitle(text);
        // A frame drawn around other controls must not take their clicks.
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(StaticAlignment(control));
        if (control.kind == ControlKind::StaticText) {
            label->setText(text);
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
        ConfigureComboBox(*combo, control, geometry);
    } else if (auto* radio = qobject_cast<QRadioButton*>(&widget)) {
        radio->setText(text);
        radio->setAutoExclusive(false);  // exclusive through the group the builder makes
    } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        edit->setText(text);
        edit->setFrame(Has(control, kBorder));
    } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        button->setText(text);
        const bool isDefault = control.kind == ControlKind::DefaultPushButton;
        button->setAutoDefault(isDefault);
        button->setDefault(isDefault);
    }
    if (Has(control, kDisabled)) {
        widget.setEnabled(false);
    }
    if (!TakesFocus(control.kind)) {
        widget.setFocusPolicy(Qt::NoFocus);
    } else {
        widget.setFocusPolicy(Has(control, kTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
    }
    widget.setProperty("rq508Styles", static_cast<uint>(control.styles));
}

Qt::WindowFlags FrameFlags(uint32_t dialogStyles) {
    Qt::WindowFlags flags = (dialogStyles & kAppWindow) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (dialogStyles & kSystemMenu) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (dialogStyles & kMinimizeBox) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    return flags;
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {std::max(1, (width / 26 + 1) / 2), std::max(1, metrics.height())};
}

QRect DialogUnitsToPixels(int x, int y, int width, int height, DialogBaseUnits base) {
    return {Scale(x, base.x, 4), Scale(y, base.y, 8), Scale(width, base.x, 4),
            Scale(height, base.y, 8)};
}

QString ControlObjectName(const ControlTemplate& control, int templateIndex) {
    if (control.id != kNoControlId) {
        return QString::number(control.id);
    }
    if (!control.name.empty()) {
        return ToQString(control.name);
    }
    static constexpr const char* kKindNames[] = {"group", "static", "combo",  "radio",
                                                 "edit",  "button", "button", "picture"};
    return QStringLiteral("%1-%2")
        .arg(QString::fromLatin1(kKindNames[static_cast<int>(control.kind)]))
        .arg(templateIndex + 1);
}

DialogControls BuildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate,
                           const std::map<int, ControlFactory>& factories) {
    QFont font = QApplication::font();
    font.setPointSize(dialogTemplate.fontPointSize);
    dialog.setFont(font);
    dialog.setWindowFlags(FrameFlags(dialogTemplate.dialogStyles));
    dialog.setWindowTitle(ToQString(dialogTemplate.caption));
    const DialogBaseUnits base = BaseUnitsOf(font);
    dialog.setFixedSize(
        DialogUnitsToPixels(0, 0, dialogTemplate.width, dialogTemplate.height, base).size());

    DialogControls controls;
    QWidget* previousTabStop = nullptr;
    QButtonGroup* radioGroup = nullptr;
    int index = 0;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        const auto factory = factories.find(control.id);
        QWidget* widget = factory != factories.end() && control.id != kNoControlId
                              ? factory->second(control, &dialog)
                              : CreateDefaultWidget(control, &dialog);
        widget->setObjectName(ControlObjectName(control, index));
        ApplyControl(
            *widget, control,
            DialogUnitsToPixels(control.x, control.y, control.width, control.height, base));
        if (control.kind == ControlKind::GroupBox) {
            widget->lower();  // behind the controls it frames, as the dialog manager paints it
        }

        if (control.styles & kGroupStart) {
            radioGroup = nullptr;
        }
        auto* radio = qobject_cast<QRadioButton*>(widget);
        if (radio && (control.styles & kAutoRadio)) {
            if (!radioGroup) {
                radioGroup = new QButtonGroup(&dialog);
            }
            radioGroup->addButton(radio);
        }

        if ((control.styles & kTabStop) && TakesFocus(control.kind)) {
            if (previousTabStop) {
                QWidget::setTabOrder(previousTabStop, widget);
            } else {
                widget->setFocus();
            }
            previousTabStop = widget;
        }
        if (control.id != kNoControlId) {
            controls[control.id] = widget;
        }
        ++index;
    }
    return controls;
}

}  // namespace rq508
