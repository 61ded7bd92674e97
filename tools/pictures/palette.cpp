#include "palette.h"

#include <QHash>
#include <limits>
#include <map>

namespace rq508::pictures {

namespace {

// Distance weighted by the eye's sensitivity, with the red weight following the mean red
// ("redmean"): cheap, and unlike CIE Lab it keeps a bright orange light red in the 16-colour
// palette instead of turning it brown.
long ColourDistance(QRgb a, QRgb b) {
    const long meanRed = (qRed(a) + qRed(b)) / 2;
    const long dr = qRed(a) - qRed(b);
    const long dg = qGreen(a) - qGreen(b);
    const long db = qBlue(a) - qBlue(b);
    return (((512 + meanRed) * dr * dr) >> 8) + 4 * dg * dg + (((767 - meanRed) * db * db) >> 8);
}

class NearestColour {
public:
    explicit NearestColour(const Palette& palette) : m_palette(palette) {}

    std::uint8_t operator()(QRgb colour) {
        colour |= 0xFF000000;
        const auto known = m_cache.constFind(colour);
        if (known != m_cache.constEnd()) {
            return *known;
        }
        std::size_t best = 0;
        long bestDistance = std::numeric_limits<long>::max();
        for (std::size_t i = 0; i < m_palette.size(); ++i) {
            const long distance = ColourDistance(colour, m_palette[i]);
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        m_cache.insert(colour, static_cast<std::uint8_t>(best));
        return static_cast<std::uint8_t>(best);
    }

private:
    const Palette& m_palette;
    QHash<QRgb, std::uint8_t> m_cache;
};

}  // namespace

Palette VgaPalette() {
    return {qRgb(0, 0, 0),     qRgb(0, 0, 170),    qRgb(0, 170, 0),    qRgb(0, 170, 170),
            qRgb(170, 0, 0),   qRgb(170, 0, 170),  qRgb(170, 85, 0),   qRgb(170, 170, 170),
            qRgb(85, 85, 85),  qRgb(85, 85, 255),  qRgb(85, 255, 85),  qRgb(85, 255, 255),
            qRgb(255, 85, 85), qRgb(255, 85, 255), qRgb(255, 255, 85), qRgb(255, 255, 255)};
}

Palette FixedPalette256() {
    Palette palette = VgaPalette();
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette.push_back(qRgb(r * 51, g * 51, b * 51));
            }
        }
    }
    // 24 greys strictly between black and white, which the cube already holds.
    for (int i = 1; i <= 24; ++i) {
        const int level = i * 255 / 25;
        palette.push_back(qRgb(level, level, level));
    }
    return palette;
}

IndexedImage Quantise(const QImage& image, const Palette& palette) {
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    NearestColour nearest(palette);
    IndexedImage result;
    result.width = source.width();
    result.height = source.height();
    result.palette = palette;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = source.pixel(x, y);
            const bool transparent = qAlpha(pixel) < 128;
            result.transparent.push_back(transparent);
            result.indices.push_back(transparent ? 0 : nearest(pixel));
        }
    }
    return result;
}

IndexedImage ReduceByMajority(const IndexedImage& image, int width, int height) {
    IndexedImage result;
    result.width = width;
    result.height = height;
    result.palette = image.palette;
    constexpr int kTransparent = 256;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::map<int, int> votes;
            for (int sy = y * image.height / height; sy < (y + 1) * image.height / height; ++sy) {
                for (int sx = x * image.width / width; sx < (x + 1) * image.width / width; ++sx) {
                    const int at = sy * image.width + sx;
                    ++votes[image.transparent[at] ? kTransparent : image.indices[at]];
                }
            }
            int winner = kTransparent;
            int most = 0;
            for (const auto& [colour, count] : votes) {
                if (count > most) {
                    winner = colour;
                    most = count;
                }
            }
            result.transparent.push_back(winner == kTransparent);
            result.indices.push_back(winner == kTransparent ? 0 : winner);
        }
    }
    return result;
}

}  // namespace rq508::pictures
