// The committed icon and logo, read byte by byte: the layouts Windows and Qt expect, and
// pictures that still show what they should.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Little-endian fields; a read past the end yields zero and is reported by ASSERTs on sizes.
std::uint32_t U8(const Bytes& bytes, std::size_t at) {
    return at < bytes.size() ? bytes[at] : 0;
}
std::uint32_t U16(const Bytes& bytes, std::size_t at) {
    return U8(bytes, at) | U8(bytes, at + 1) << 8;
}
std::uint32_t U32(const Bytes& bytes, std::size_t at) {
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}
std::int32_t S32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::int32_t>(U32(bytes, at));
}

std::size_t RowBytes(std::size_t width, std::size_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

struct Rgb {
    std::uint32_t r, g, b;
};

bool IsWarmFlameColour(Rgb c) {
    return c.r >= 200 && c.b <= 120 && c.g <= 220;
}
bool IsYellow(Rgb c) {
    return c.r >= 200 && c.g >= 200 && c.b <= 210;
}

// ---- icon ----------------------------------------------------------------------------------

constexpr std::size_t kIconHeader = 6;
constexpr std::size_t kIconEntry = 16;

struct IconImageCase {
    const char* name;
    std::size_t index;
    std::uint32_t size;
    std::uint32_t bitsPerPixel;
};

const IconImageCase kIconImages[] = {
    {"First_16px_256colours", 0, 16, 8}, {"Second_32px_256colours", 1, 32, 8},
    {"Third_48px_256colours", 2, 48, 8}, {"Fourth_32px_16colours", 3, 32, 4},
    {"Fifth_16px_16colours", 4, 16, 4},  {"Sixth_48px_16colours", 5, 48, 4},
};

TEST(IconFile, DirectoryHoldsSixImagesThatTileTheFile) {
    const Bytes ico = ReadFile(RQ508_ICON_FILE);
    ASSERT_GE(ico.size(), kIconHeader + 6 * kIconEntry) << "missing or short: " RQ508_ICON_FILE;
    EXPECT_EQ(U16(ico, 0), 0u) << "reserved";
    EXPECT_EQ(U16(ico, 2), 1u) << "type: icon";
    ASSERT_EQ(U16(ico, 4), 6u) << "image count";

    // Images follow the directory back to back, in directory order, up to the end of the file.
    std::size_t expectedOffset = kIconHeader + 6 * kIconEntry;
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t entry = kIconHeader + i * kIconEntry;
        EXPECT_EQ(U32(ico, entry + 12), expectedOffset) << "image " << i;
        expectedOffset = U32(ico, entry + 12) + U32(ico, entry + 8);
    }
    EXPECT_EQ(expectedOffset, ico.size());
}

class IconImage : public testing::TestWithParam<IconImageCase> {
protected:
    void SetUp() override {
        m_ico = ReadFile(RQ508_ICON_FILE);
        ASSERT_GE(m_ico.size(), kIconHeader + 6 * kIconEntry);
        m_entry = kIconHeader + GetParam().index * kIconEntry;
        m_dib = U32(m_ico, m_entry + 12);
        ASSERT_LE(m_dib + U32(m_ico, m_entry + 8), m_ico.size());
    }

    std::size_t Colours() const { return std::size_t{1} << GetParam().bitsPerPixel; }
    std::size_t Table() const { return m_dib + 40; }
    std::size_t XorPixels() const { return Table() + 4 * Colours(); }
    std::size_t XorRow() const { return RowBytes(GetParam().size, GetParam().bitsPerPixel); }
    std::size_t AndMask() const { return XorPixels() + XorRow() * GetParam().size; }
    std::size_t AndRow() const { return RowBytes(GetParam().size, 1); }

    // Pixel (x, y) counted from the top left; both bitmaps are stored bottom-up.
    std::uint32_t ColourIndex(std::uint32_t x, std::uint32_t y) const {
        const std::size_t row = XorPixels() + (GetParam().size - 1 - y) * XorRow();
        if (GetParam().bitsPerPixel == 8) {
            return U8(m_ico, row + x);
        }
        const std::uint32_t pair = U8(m_ico, row + x / 2);
        return x % 2 == 0 ? pair >> 4 : pair & 0x0F;
    }
    Rgb Colour(std::uint32_t index) const {
        const std::size_t quad = Table() + 4 * index;
        return {U8(m_ico, quad + 2), U8(m_ico, quad + 1), U8(m_ico, quad)};
    }
    bool Transparent(std::uint32_t x, std::uint32_t y) const {
        const std::size_t row = AndMask() + (GetParam().size - 1 - y) * AndRow();
        return (U8(m_ico, row + x / 8) & (0x80 >> (x % 8))) != 0;
    }

    Bytes m_ico;
    std::size_t m_entry = 0;
    std::size_t m_dib = 0;
};

TEST_P(IconImage, DirectoryEntryGivesSizeAndDepth) {
    const IconImageCase& image = GetParam();
    EXPECT_EQ(U8(m_ico, m_entry + 0), image.size) << "width";
    EXPECT_EQ(U8(m_ico, m_entry + 1), image.size) << "height";
    EXPECT_EQ(U8(m_ico, m_entry + 2), image.bitsPerPixel == 4 ? 16u : 0u) << "colour count";
    EXPECT_EQ(U8(m_ico, m_entry + 3), 0u) << "reserved";
    EXPECT_EQ(U16(m_ico, m_entry + 4), 1u) << "planes";
    EXPECT_EQ(U16(m_ico, m_entry + 6), image.bitsPerPixel);
}

TEST_P(IconImage, IsADibWithColourTablePixelsAndMaskOfTheRightLengths) {
    const IconImageCase& image = GetParam();
    EXPECT_EQ(U32(m_ico, m_dib + 0), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(S32(m_ico, m_dib + 4), static_cast<std::int32_t>(image.size)) << "width";
    EXPECT_EQ(S32(m_ico, m_dib + 8), static_cast<std::int32_t>(2 * image.size))
        << "height doubled for the mask";
    EXPECT_EQ(U16(m_ico, m_dib + 12), 1u) << "planes";
    EXPECT_EQ(U16(m_ico, m_dib + 14), image.bitsPerPixel);
    EXPECT_EQ(U32(m_ico, m_dib + 16), 0u) << "uncompressed";
    const std::uint32_t coloursUsed = U32(m_ico, m_dib + 32);
    EXPECT_TRUE(coloursUsed == 0 || coloursUsed == Colours()) << coloursUsed;

    const std::size_t expected = 40 + 4 * Colours() + (XorRow() + AndRow()) * image.size;
    EXPECT_EQ(U32(m_ico, m_entry + 8), expected) << "header, table, pixels and mask, nothing else";
    for (std::size_t i = 0; i < Colours(); ++i) {
        EXPECT_EQ(U8(m_ico, Table() + 4 * i + 3), 0u) << "reserved byte of colour " << i;
    }
}

TEST_P(IconImage, ShowsAFireOnATransparentBackground) {
    const std::uint32_t size = GetParam().size;
    int transparent = 0;
    int flame = 0;
    int yellow = 0;
    for (std::uint32_t y = 0; y < size; ++y) {
        for (std::uint32_t x = 0; x < size; ++x) {
            const Rgb colour = Colour(ColourIndex(x, y));
            if (Transparent(x, y)) {
                ++transparent;
                // Under a set mask bit the colour must be black, or it would tint the desktop.
                EXPECT_EQ(colour.r + colour.g + colour.b, 0u) << "at " << x << "," << y;
            } else {
                flame += IsWarmFlameColour(colour);
                yellow += IsYellow(colour);
            }
        }
    }
    EXPECT_TRUE(Transparent(0, 0) && Transparent(size - 1, 0)) << "top corners see through";
    EXPECT_GT(transparent, static_cast<int>(size * size / 5));
    EXPECT_LT(transparent, static_cast<int>(size * size * 4 / 5));
    EXPECT_GE(flame, static_cast<int>(size / 2)) << "orange or red flame pixels";
    EXPECT_GE(yellow, 2) << "yellow flame pixels";
}

INSTANTIATE_TEST_SUITE_P(InFileOrder, IconImage, testing::ValuesIn(kIconImages),
                         [](const testing::TestParamInfo<IconImageCase>& row) {
                             return std::string(row.param.name);
                         });

// ---- logo ----------------------------------------------------------------------------------

TEST(LogoFile, IsAnUncompressed24BitBitmapOf123By29WithoutColourTable) {
    const Bytes bmp = ReadFile(RQ508_LOGO_FILE);
    constexpr std::size_t kHeaders = 14 + 40;
    const std::size_t rowBytes = RowBytes(123, 24);
    ASSERT_EQ(bmp.size(), kHeaders + rowBytes * 29) << RQ508_LOGO_FILE;
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32(bmp, 2), bmp.size()) << "file size field";
    EXPECT_EQ(U32(bmp, 10), kHeaders) << "pixels straight after the headers: no colour table";
    EXPECT_EQ(U32(bmp, 14), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(S32(bmp, 18), 123);
    EXPECT_EQ(S32(bmp, 22), 29) << "positive: bottom-up rows";
    EXPECT_EQ(U16(bmp, 26), 1u) << "planes";
    EXPECT_EQ(U16(bmp, 28), 24u) << "bits per pixel";
    EXPECT_EQ(U32(bmp, 30), 0u) << "BI_RGB, uncompressed";
    EXPECT_EQ(U32(bmp, 46), 0u) << "colours used";
}

TEST(LogoFile, ShowsBlueLettersOnPaleCream) {
    const Bytes bmp = ReadFile(RQ508_LOGO_FILE);
    const std::size_t rowBytes = RowBytes(123, 24);
    ASSERT_EQ(bmp.size(), 54 + rowBytes * 29);
    const auto pixel = [&](std::size_t x, std::size_t y) {
        const std::size_t at = 54 + y * rowBytes + 3 * x;  // y counted from the bottom
        return Rgb{bmp[at + 2], bmp[at + 1], bmp[at]};
    };
    const auto isCream = [](Rgb c) { return c.r >= 235 && c.g >= 230 && c.b >= 190 && c.b < c.r; };
    EXPECT_TRUE(isCream(pixel(0, 0)) && isCream(pixel(122, 0)) && isCream(pixel(0, 28)) &&
                isCream(pixel(122, 28)))
        << "the four corners";
    int blue = 0;
    for (std::size_t y = 0; y < 29; ++y) {
        for (std::size_t x = 0; x < 123; ++x) {
            const Rgb c = pixel(x, y);
            blue += c.b >= 120 && c.b >= c.r + 80 && c.b >= c.g + 50;
        }
    }
    EXPECT_GE(blue, 150) << "strongly blue pixels of the lettering";
}

}  // namespace
