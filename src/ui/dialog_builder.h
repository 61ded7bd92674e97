#pragma once

#include <QRect>
#include <QString>

#include <functional>
#include <map>

#include "ui/dialog_template.h"

class QDialog;
class QFont;
class QWidget;

namespace rq508 {

// One dialog unit across is a quarter of the font's average character width, one down an
// eighth of its height (the Windows dialog manager's rule, so layouts keep their proportions).
struct DialogBaseUnits {
    int x = 0;  // average character width in pixels
    int y = 0;  // character height in pixels
};

// The average width of "A".."Z" and "a".."z", rounded, as the Windows dialog manager takes it.
DialogBaseUnits BaseUnitsOf(const QFont& font);

QRect DialogUnitsToPixels(int x, int y, int width, int height, DialogBaseUnits base);

// Makes the widget of one control in place of the builder's own choice (a link label, say).
// The builder still applies the text, geometry, styles and object name to what it returns.
using ControlFactory = std::function<QWidget*(const ControlTemplate&, QWidget* parent)>;

// Id -> widget of every control that has an id.
using DialogControls = std::map<int, QWidget*>;

// The object name a control's widget carries: its id in decimal ("1001"), or its descriptive
// name, or the kind and template position for an anonymous control ("static-2").
QString ControlObjectName(const ControlTemplate& control, int templateIndex);

// Creates every control of the template as a child of the dialog with absolute geometry, sets
// caption, font, fixed client size and frame, the tab order of the tab stops (template order),
// one exclusive group per run of automatic radio buttons that kGroupStart delimits, and gives
// the first tab stop the focus. Push buttons never become default by taking the focus; only a
// DefaultPushButton is the default. Returns the controls that have an id.
DialogControls BuildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate,
                           const std::map<int, ControlFactory>& factories = {});

}  // namespace rq508
