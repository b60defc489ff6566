#include "desktop/IconRenderer.h"

#include <QFile>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

namespace desktop {

namespace {
constexpr int kLargestIcon = 1024;
}

QImage renderIcon(const QByteArray& svg, int size) {
    if (size < 1 || size > kLargestIcon)
        throw IconError("icon size " + std::to_string(size) + " is out of range");
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) throw IconError("the icon is not a readable SVG");
    if (renderer.viewBoxF().isEmpty()) throw IconError("the icon's SVG has an empty view box");
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return image;
}

void writeIconPng(const QString& svgPath, int size, const QString& pngPath) {
    QFile in(svgPath);
    if (!in.open(QIODevice::ReadOnly))
        throw IconError("cannot read " + svgPath.toStdString() + ": " + in.errorString().toStdString());
    const QImage image = renderIcon(in.readAll(), size);
    // A failed build never leaves a half-written icon behind.
    QSaveFile out(pngPath);
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit())
        throw IconError("cannot write " + pngPath.toStdString() + ": " + out.errorString().toStdString());
}

}  // namespace desktop
