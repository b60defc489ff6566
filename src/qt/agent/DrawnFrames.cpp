#include "qt/agent/DrawnFrames.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <stdexcept>

namespace agent {
namespace {

QImage renderSvg(const QByteArray& svg, QSize size, qreal scale) {
    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(svg);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    image.setDevicePixelRatio(scale);
    return image;
}

qint64 bytesOf(const DrawnFrames::Frame& f) {
    const QImage::Format format = QImage::Format_ARGB32_Premultiplied;
    const qint64 pixels = static_cast<qint64>(f.pixmap.width()) * f.pixmap.height();
    return pixels * (QImage::toPixelFormat(format).bitsPerPixel() / 8) +
           static_cast<qint64>(f.shape.rectCount()) * static_cast<qint64>(sizeof(QRect));
}

}  // namespace

DrawnFrames::DrawnFrames(std::map<QString, QByteArray> svg, QSize size, qreal scale, qint64 budgetBytes)
    : svg_(std::move(svg)), size_(size), scale_(scale), budget_(budgetBytes) {}

DrawnFrames::Frame DrawnFrames::draw(const QByteArray& svg) const {
    const QImage image = renderSvg(svg, size_, scale_);
    const QImage logical = scale_ == 1.0 ? image : renderSvg(svg, size_, 1.0);
    return {QPixmap::fromImage(image), QRegion(QBitmap::fromImage(logical.createAlphaMask()))};
}

const DrawnFrames::Frame& DrawnFrames::get(const QString& name) {
    auto it = held_.find(name);
    if (it != held_.end()) {
        recent_.splice(recent_.begin(), recent_, it->second.recent);
        return it->second.frame;
    }
    const auto svg = svg_.find(name);
    if (svg == svg_.end()) throw std::out_of_range("no frame " + name.toStdString());
    Frame frame = draw(svg->second);
    ++drawCount_;
    const qint64 bytes = bytesOf(frame);
    recent_.push_front(name);
    it = held_.emplace(name, Held{std::move(frame), bytes, recent_.begin()}).first;
    heldBytes_ += bytes;
    evictFor(name);
    return it->second.frame;
}

void DrawnFrames::evictFor(const QString& keep) {
    while (heldBytes_ > budget_ && recent_.size() > 1 && recent_.back() != keep) {
        const auto it = held_.find(recent_.back());
        heldBytes_ -= it->second.bytes;
        held_.erase(it);
        recent_.pop_back();
    }
}

}  // namespace agent
