#include "ico_file.h"

#include <cstdint>

namespace rq508::pictures {

namespace {

void PutU8(QByteArray& out, unsigned value) {
    out.append(static_cast<char>(value & 0xFF));
}

void PutU16(QByteArray& out, unsigned value) {
    PutU8(out, value);
    PutU8(out, value >> 8);
}

void PutU32(QByteArray& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// Bitmap rows are padded to a multiple of four bytes.
int RowBytes(int width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

int BitsPerPixel(const IndexedImage& image) {
    return image.palette.size() <= 16 ? 4 : 8;
}

QByteArray EncodeDib(const IndexedImage& image) {
    const int bits = BitsPerPixel(image);
    const int colours = 1 << bits;
    const int xorRow = RowBytes(image.width, bits);
    const int andRow = RowBytes(image.width, 1);
    const int pixelBytes = (xorRow + andRow) * image.height;

    QByteArray dib;
    PutU32(dib, 40);                // biSize: BITMAPINFOHEADER
    PutU32(dib, image.width);       // biWidth
    PutU32(dib, image.height * 2);  // biHeight: XOR and AND bitmaps stacked
    PutU16(dib, 1);                 // biPlanes
    PutU16(dib, bits);              // biBitCount
    PutU32(dib, 0);                 // biCompression: BI_RGB
    PutU32(dib, pixelBytes);        // biSizeImage
    PutU32(dib, 0);                 // biXPelsPerMeter
    PutU32(dib, 0);                 // biYPelsPerMeter
    PutU32(dib, 0);                 // biClrUsed: all 2^bits entries
    PutU32(dib, 0);                 // biClrImportant
    for (int i = 0; i < colours; ++i) {
        const QRgb colour = i < static_cast<int>(image.palette.size()) ? image.palette[i] : 0;
        PutU8(dib, qBlue(colour));
        PutU8(dib, qGreen(colour));
        PutU8(dib, qRed(colour));
        PutU8(dib, 0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(xorRow, '\0');
        for (int x = 0; x < image.width; ++x) {
            const unsigned index = image.indices[y * image.width + x];
            if (bits == 8) {
                row[x] = static_cast<char>(index);
            } else {
                row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
            }
        }
        dib.append(row);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(andRow, '\0');
        for (int x = 0; x < image.width; ++x) {
            if (image.transparent[y * image.width + x]) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        dib.append(row);
    }
    return dib;
}

}  // namespace

QByteArray EncodeIcoFile(const std::vector<IndexedImage>& images) {
    constexpr int kDirectoryHeader = 6;
    constexpr int kDirectoryEntry = 16;
    std::vector<QByteArray> dibs;
    for (const IndexedImage& image : images) {
        dibs.push_back(EncodeDib(image));
    }

    QByteArray file;
    PutU16(file, 0);  // reserved
    PutU16(file, 1);  // type: icon
    PutU16(file, static_cast<unsigned>(images.size()));
    std::uint32_t offset = kDirectoryHeader + kDirectoryEntry * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IndexedImage& image = images[i];
        const int bits = BitsPerPixel(image);
        PutU8(file, image.width);  // 256 would be written as 0
        PutU8(file, image.height);
        PutU8(file, bits == 4 ? 16 : 0);  // colour count; 0 means 256 or more
        PutU8(file, 0);                   // reserved
        PutU16(file, 1);                  // planes
        PutU16(file, bits);               // bits per pixel
        PutU32(file, dibs[i].size());     // bytes in the image
        PutU32(file, offset);             // where the image starts
        offset += dibs[i].size();
    }
    for (const QByteArray& dib : dibs) {
        file.append(dib);
    }
    return file;
}

}  // namespace rq508::pictures
