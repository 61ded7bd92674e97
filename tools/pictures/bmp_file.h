#pragma once

#include <QByteArray>
#include <QImage>

namespace rq508::pictures {

// A Windows bitmap file (.bmp): 24 bits per pixel, uncompressed, no colour table, rows
// bottom-up and padded to four bytes. Alpha is ignored.
QByteArray EncodeBmp24File(const QImage& image);

}  // namespace rq508::pictures
