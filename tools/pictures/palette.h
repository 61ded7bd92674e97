#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace rq508::pictures {

using Palette = std::vector<QRgb>;

// The sixteen colours of the classic VGA palette, black first.
Palette VgaPalette();

// A fixed palette of 256 colours: the VGA colours, a 6 x 6 x 6 colour cube and a grey ramp.
Palette FixedPalette256();

// An image reduced to a palette, with a 1-bit transparency mask, rows top-down.
struct IndexedImage {
    int width = 0;
    int height = 0;
    Palette palette;
    std::vector<std::uint8_t> indices;  // width * height palette indices
    std::vector<bool> transparent;      // width * height; true where the mask lets through
};

// Maps every pixel to its nearest palette colour. Pixels under half opacity become transparent
// and take index 0 (black), so that the AND mask and the colour pixels together show nothing.
IndexedImage Quantise(const QImage& image, const Palette& palette);

// Shrinks an indexed image by letting each target pixel take the colour (or transparency) that
// most of its source pixels have. Unlike averaging, this keeps every colour pure, which is what
// makes a 16 x 16 picture crisp once it may only use the palette.
IndexedImage ReduceByMajority(const IndexedImage& image, int width, int height);

}  // namespace rq508::pictures
