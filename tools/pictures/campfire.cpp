#include "campfire.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace rq508::pictures {

namespace {

// The drawing is laid out on a 256 x 256 grid. Shapes are bold and outlined so that the fire
// still reads as a fire when the picture shrinks to 16 x 16 pixels.
constexpr double kGrid = 256.0;

QPainterPath OuterFlame() {
    QPainterPath path;
    path.moveTo(128, 214);
    path.cubicTo(80, 214, 52, 186, 56, 146);
    path.cubicTo(58, 118, 74, 100, 72, 70);  // left tongue
    path.cubicTo(92, 86, 100, 104, 100, 118);
    path.cubicTo(96, 78, 116, 52, 128, 14);  // the tip
    path.cubicTo(150, 52, 168, 78, 158, 116);
    path.cubicTo(166, 102, 176, 92, 190, 74);  // right tongue
    path.cubicTo(190, 104, 202, 120, 200, 150);
    path.cubicTo(198, 190, 172, 214, 128, 214);
    path.closeSubpath();
    return path;
}

QPainterPath MiddleFlame() {
    QPainterPath path;
    path.moveTo(128, 212);
    path.cubicTo(92, 212, 76, 188, 80, 160);
    path.cubicTo(84, 134, 100, 122, 104, 100);
    path.cubicTo(114, 116, 116, 128, 116, 138);
    path.cubicTo(116, 108, 126, 84, 132, 60);
    path.cubicTo(148, 96, 160, 118, 158, 144);
    path.cubicTo(164, 136, 170, 126, 172, 116);
    path.cubicTo(182, 138, 180, 154, 178, 170);
    path.cubicTo(174, 198, 156, 212, 128, 212);
    path.closeSubpath();
    return path;
}

QPainterPath InnerFlame() {
    QPainterPath path;
    path.moveTo(128, 210);
    path.cubicTo(104, 210, 98, 192, 102, 176);
    path.cubicTo(106, 160, 118, 150, 122, 122);
    path.cubicTo(138, 142, 150, 156, 154, 176);
    path.cubicTo(158, 196, 148, 210, 128, 210);
    path.closeSubpath();
    return path;
}

void DrawFlames(QPainter& painter, const CampfireStyle& style) {
    // Colours chosen to keep their roles in the 16-colour palette too: the outline becomes
    // dark red, the outer flame light red, the middle one yellow and the core white.
    const QColor outline(160, 20, 0);

    painter.save();
    painter.translate(128, 214);
    painter.scale(style.flameScale, style.flameScale);
    painter.translate(-128, -214);

    QLinearGradient outer(0, 214, 0, 14);
    outer.setColorAt(0.0, QColor(255, 110, 0));
    outer.setColorAt(1.0, QColor(255, 80, 0));
    painter.setPen(style.flameOutline > 0 ? QPen(outline, style.flameOutline, Qt::SolidLine,
                                                 Qt::RoundCap, Qt::RoundJoin)
                                          : QPen(Qt::NoPen));
    painter.setBrush(outer);
    painter.drawPath(OuterFlame());

    QLinearGradient middle(0, 212, 0, 60);
    middle.setColorAt(0.0, QColor(255, 200, 0));
    middle.setColorAt(1.0, QColor(255, 170, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(middle);
    painter.drawPath(MiddleFlame());

    painter.setBrush(QColor(255, 250, 200));
    painter.drawPath(InnerFlame());
    painter.restore();
}

// One log, lying along the x axis around the origin; its cut end at the left shows the grain.
void DrawLog(QPainter& painter, const CampfireStyle& style, double angle, bool cutEndLeft) {
    const double length = 210;
    const double thickness = style.logThickness;
    const QColor bark(150, 78, 25);
    const QColor barkOutline(60, 28, 5);

    painter.save();
    painter.rotate(angle);
    if (!cutEndLeft) {
        painter.scale(-1, 1);
    }
    painter.setPen(QPen(barkOutline, style.logOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(bark);
    painter.drawRoundedRect(QRectF(-length / 2, -thickness / 2, length, thickness), 20, 20);

    if (style.details) {
        // Two dark grooves in the bark.
        painter.setPen(QPen(QColor(100, 50, 15), 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(-50, -6), QPointF(40, -6));
        painter.drawLine(QPointF(-10, 8), QPointF(80, 8));
    }

    // The cut end: pale wood, with a darker ring where there is room for one.
    const QRectF end(-length / 2 - 4, -thickness / 2, 0.8 * thickness, thickness);
    painter.setPen(QPen(barkOutline, style.logOutline * 0.85));
    painter.setBrush(QColor(240, 200, 110));
    painter.drawEllipse(end);
    if (style.details) {
        painter.setPen(QPen(QColor(175, 110, 50), 4));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(end.adjusted(9, 12, -9, -12));
    }
    painter.restore();
}

}  // namespace

CampfireStyle CampfireStyleFor(int targetSize) {
    if (targetSize <= 16) {
        return {.flameOutline = 0,
                .flameScale = 1.12,
                .logThickness = 40,
                .logOutline = 14,
                .details = false};
    }
    return {};
}

QImage DrawCampfire(int size, const CampfireStyle& style) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);

    DrawFlames(painter, style);
    painter.translate(128, 186);
    DrawLog(painter, style, -24, true);
    DrawLog(painter, style, 24, false);
    return image;
}

}  // namespace rq508::pictures
