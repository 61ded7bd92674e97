#pragma once

#include <QByteArray>
#include <vector>

#include "palette.h"

namespace rq508::pictures {

// An icon file (.ico): the directory, then each image as a device-independent bitmap
// (BITMAPINFOHEADER with the height doubled for the mask, colour table, XOR pixels bottom-up)
// followed by its 1-bit AND mask. Images keep the order given. Each palette must hold 16
// colours (4 bits per pixel) or 256 (8 bits per pixel).
QByteArray EncodeIcoFile(const std::vector<IndexedImage>& images);

}  // namespace rq508::pictures
