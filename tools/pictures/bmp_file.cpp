#include "bmp_file.h"

#include <cstdint>

namespace rq508::pictures {

namespace {

void PutU16(QByteArray& out, unsigned value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(QByteArray& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

}  // namespace

QByteArray EncodeBmp24File(const QImage& image) {
    constexpr std::uint32_t kHeaders = 14 + 40;
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    const int rowBytes = (source.width() * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = rowBytes * source.height();

    QByteArray file;
    file.append("BM");
    PutU32(file, kHeaders + pixelBytes);  // file size
    PutU32(file, 0);                      // reserved
    PutU32(file, kHeaders);               // offset of the pixels
    PutU32(file, 40);                     // BITMAPINFOHEADER
    PutU32(file, source.width());
    PutU32(file, source.height());  // positive: bottom-up
    PutU16(file, 1);                // planes
    PutU16(file, 24);               // bits per pixel
    PutU32(file, 0);                // BI_RGB
    PutU32(file, pixelBytes);
    PutU32(file, 2835);  // 72 dpi, in pixels per metre
    PutU32(file, 2835);
    PutU32(file, 0);  // colours used: none, no table
    PutU32(file, 0);
    for (int y = source.height() - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = source.pixel(x, y);
            row[x * 3] = static_cast<char>(qBlue(pixel));
            row[x * 3 + 1] = static_cast<char>(qGreen(pixel));
            row[x * 3 + 2] = static_cast<char>(qRed(pixel));
        }
        file.append(row);
    }
    return file;
}

}  // namespace rq508::pictures
