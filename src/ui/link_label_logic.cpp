#include "ui/link_label_logic.h"

namespace rq508 {

EdgeRect FitRectToText(EdgeRect control, int textWidth, int textHeight, LabelAlignment alignment,
                       bool centerVertically) {
    EdgeRect fitted = control;
    if (centerVertically) {
        // Integer division truncates toward zero, also for a negative difference.
        const int shift = (control.bottom - control.top - textHeight) / 2;
        fitted.top += shift;
        fitted.bottom -= shift;
    } else {
        fitted.bottom = fitted.top + textHeight;
    }
    switch (alignment) {
        case LabelAlignment::Center: {
            const int shift = (control.right - control.left - textWidth) / 2;
            fitted.left += shift;
            fitted.right -= shift;
            break;
        }
        case LabelAlignment::Right:
            fitted.left = fitted.right - textWidth;
            break;
        case LabelAlignment::Left:
            fitted.right = fitted.left + textWidth;
            break;
    }
    return fitted;
}

Rgb LinkTextColor(const LinkColors& colors, bool pointerInside, bool visited) {
    if (pointerInside) {
        return colors.hover;
    }
    return visited ? colors.visited : colors.normal;
}

}  // namespace rq508
