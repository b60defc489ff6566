#pragma once
// Renders the application's SVG icon into the square PNG sizes a desktop's icon theme asks for.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <stdexcept>

namespace desktop {

struct IconError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The SVG drawn over its whole view box into a transparent size x size image.
// Throws IconError for an unreadable SVG, an empty drawing or a size outside 1..1024.
QImage renderIcon(const QByteArray& svg, int size);

// Reads svgPath, renders it and writes a PNG to pngPath whole or not at all.
void writeIconPng(const QString& svgPath, int size, const QString& pngPath);

}  // namespace desktop
