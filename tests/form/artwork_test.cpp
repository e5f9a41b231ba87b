// The window icon and the banner logos keep the pixel formats they were drawn in.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cstdint>

#include "wizard/form/wizard_form.h"

namespace {

struct BitmapHeader {
    int width = 0, height = 0, bitsPerPixel = 0, paletteColours = 0;
};

// Reads the size and colour depth from a BMP file's info header.
BitmapHeader readHeader(const char* path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    const QByteArray bytes = file.readAll();
    EXPECT_GE(bytes.size(), 54);
    EXPECT_TRUE(bytes.startsWith("BM"));
    auto le = [&bytes](int at, int size) {
        std::uint32_t v = 0;
        for (int i = size - 1; i >= 0; --i) v = (v << 8) | std::uint8_t(bytes.at(at + i));
        return static_cast<int>(v);
    };
    return {le(18, 4), le(22, 4), le(28, 2), le(46, 4)};
}

TEST(Artwork, PixelFormatsAndSizes) {
    ostrel::WizardForm form;  // registers the resources

    const BitmapHeader icon = readHeader(":/wizard/frmOstWiz.bmp");
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.height, 32);
    EXPECT_EQ(icon.bitsPerPixel, 24);

    const BitmapHeader logo = readHeader(":/wizard/Image1.bmp");
    EXPECT_EQ(logo.width, 112);
    EXPECT_EQ(logo.height, 40);
    EXPECT_EQ(logo.bitsPerPixel, 8);
    EXPECT_EQ(logo.paletteColours, 256);
    const QImage indexed(":/wizard/Image1.bmp");
    EXPECT_EQ(indexed.format(), QImage::Format_Indexed8);
    EXPECT_EQ(indexed.colorCount(), 256);

    const BitmapHeader second = readHeader(":/wizard/Image2.bmp");
    EXPECT_EQ(second.width, 112);
    EXPECT_EQ(second.height, 41);
    EXPECT_EQ(second.bitsPerPixel, 24);
}

}  // namespace
