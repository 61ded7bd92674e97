// Draws the application's pictures and writes them below the folder given:
//   src/app/icons/rq508.ico                 the icon: six images in the order Windows expects
//   src/app/icons/hicolor/<n>x<n>/apps/...  the icon for the desktop's hicolor theme
//   src/ui/pictures/logo.bmp                the maker's logo for the About box
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <vector>

#include "bmp_file.h"
#include "campfire.h"
#include "ico_file.h"
#include "palette.h"
#include "word_mark.h"

namespace {

using namespace rq508::pictures;

// Large enough that every size is a clean reduction of it.
constexpr int kMasterSize = 768;

struct IconImageSpec {
    int size;
    int bitsPerPixel;
};

// Sizes and depths in the order in which the icon holds them.
constexpr IconImageSpec kIconImages[] = {{16, 8}, {32, 8}, {48, 8}, {32, 4}, {16, 4}, {48, 4}};
// Up to this size, icon images are reduced by majority rather than by averaging.
constexpr int kMajoritySize = 16;
constexpr int kThemeSizes[] = {16, 32, 48, 64, 128, 256};

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    std::printf("wrote %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
    return true;
}

bool WritePng(const QString& path, const QImage& image) {
    QDir().mkpath(QFileInfo(path).path());
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

// Drawn large in the style for the size, then reduced by averaging.
QImage Campfire(int size) {
    return DrawCampfire(kMasterSize, CampfireStyleFor(size))
        .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

int main(int argc, char** argv) {
    // Text needs a font database, and so a GUI application; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SOURCE-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));

    std::vector<IndexedImage> iconImages;
    for (const IconImageSpec& image : kIconImages) {
        const Palette palette = image.bitsPerPixel == 4 ? VgaPalette() : FixedPalette256();
        if (image.size <= kMajoritySize) {
            const QImage large = DrawCampfire(kMasterSize, CampfireStyleFor(image.size));
            iconImages.push_back(
                ReduceByMajority(Quantise(large, palette), image.size, image.size));
        } else {
            iconImages.push_back(Quantise(Campfire(image.size), palette));
        }
    }
    bool ok = WriteFile(root.filePath("src/app/icons/rq508.ico"), EncodeIcoFile(iconImages));
    for (int size : kThemeSizes) {
        const QString folder = QString("src/app/icons/hicolor/%1x%1/apps/rq508.png").arg(size);
        ok = WritePng(root.filePath(folder), Campfire(size)) && ok;
    }
    const QImage logo = DrawWordMark("Example Controls", 123, 29);
    ok = WriteFile(root.filePath("src/ui/pictures/logo.bmp"), EncodeBmp24File(logo)) && ok;
    return ok ? 0 : 1;
}
