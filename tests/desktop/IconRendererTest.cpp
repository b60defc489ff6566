#include "desktop/IconRenderer.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using desktop::IconError;
using desktop::renderIcon;
using desktop::writeIconPng;

namespace {

QByteArray iconSvg() {
    QFile f(QStringLiteral(TVX_ICON_SVG));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

int greenPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.alpha() == 255 && c.green() > c.red() + 40 && c.green() > c.blue() + 40) ++n;
        }
    return n;
}

TEST(IconRenderer, OurIconFillsEveryThemeSizeWithTheParrotOnATransparentCorner) {
    const QByteArray svg = iconSvg();
    for (int size : {48, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage img = renderIcon(svg, size);
        ASSERT_EQ(img.size(), QSize(size, size));
        ASSERT_TRUE(img.hasAlphaChannel());
        // Rounded badge: the very corners stay see-through, the middle is opaque.
        for (QPoint corner :
             {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
            EXPECT_EQ(img.pixelColor(corner).alpha(), 0) << corner.x() << "," << corner.y();
        EXPECT_EQ(img.pixelColor(size / 2, size / 2).alpha(), 255);
        // The parrot is drawn, scaled with the image (not cropped to its top-left 128 px).
        const double greenShare = double(greenPixels(img)) / (size * size);
        EXPECT_GT(greenShare, 0.08);
        EXPECT_LT(greenShare, 0.5);
    }
}

TEST(IconRenderer, RefusesWhatWouldGiveABrokenIcon) {
    EXPECT_THROW(renderIcon("not an svg", 48), IconError);
    EXPECT_THROW(renderIcon(QByteArray(), 48), IconError);
    EXPECT_THROW(renderIcon(iconSvg(), 0), IconError);
    EXPECT_THROW(renderIcon(iconSvg(), 4096), IconError);
    EXPECT_THROW(renderIcon(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 0 0"/>)", 48), IconError);
}

TEST(IconRenderer, WritesAReadablePngOrNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString png = dir.filePath(QStringLiteral("icon.png"));
    writeIconPng(QStringLiteral(TVX_ICON_SVG), 128, png);
    QImage back(png, "PNG");
    EXPECT_EQ(back.size(), QSize(128, 128));
    EXPECT_EQ(back.pixelColor(0, 0).alpha(), 0);

    EXPECT_THROW(writeIconPng(dir.filePath(QStringLiteral("missing.svg")), 48, png), IconError);
    const QString bad = dir.filePath(QStringLiteral("bad.svg"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<svg");
    f.close();
    const QString out = dir.filePath(QStringLiteral("out.png"));
    EXPECT_THROW(writeIconPng(bad, 48, out), IconError);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_THROW(
        writeIconPng(QStringLiteral(TVX_ICON_SVG), 48, dir.filePath(QStringLiteral("no/such/dir.png"))),
        IconError);
}

}  // namespace
