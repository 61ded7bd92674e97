#include "word_mark.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

namespace rq508::pictures {

QImage DrawWordMark(const QString& name, int width, int height) {
    const QColor cream(255, 250, 228);
    const QColor blue(20, 60, 170);

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(cream);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::Antialiasing);

    // The largest bold italic serif face whose text fits with a small margin on each side.
    QFont font("DejaVu Serif");
    font.setStretch(QFont::SemiCondensed);
    font.setItalic(true);
    font.setBold(true);
    const double room = width - 6;
    int pixelSize = height;
    for (; pixelSize > 6; --pixelSize) {
        font.setPixelSize(pixelSize);
        if (QFontMetricsF(font).horizontalAdvance(name) <= room) {
            break;
        }
    }
    painter.setFont(font);
    painter.setPen(blue);

    const QFontMetricsF metrics(font);
    const double textWidth = metrics.horizontalAdvance(name);
    const double baseline = (height + metrics.ascent() - metrics.descent()) / 2.0 - 2;
    painter.drawText(QPointF((width - textWidth) / 2.0, baseline), name);

    // A thin rule under the name, as on the maker's letterhead.
    painter.setPen(QPen(blue, 1));
    painter.drawLine(QPointF(4, height - 4.5), QPointF(width - 5, height - 4.5));
    return image;
}

}  // namespace rq508::pictures
