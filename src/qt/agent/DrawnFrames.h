#pragma once

#include <QByteArray>
#include <QPixmap>
#include <QRegion>
#include <QSize>
#include <QString>

#include <list>
#include <map>

namespace agent {

// A character's frames, drawn from their SVG text when first shown and kept while they fit a
// byte budget; the least recently shown go first. Drawing every frame up front let one file
// claim gigabytes.
class DrawnFrames {
public:
    struct Frame {
        QPixmap pixmap;
        QRegion shape;  // the opaque part, in logical pixels
    };

    static constexpr qint64 kDefaultBudgetBytes = 48LL * 1024 * 1024;

    DrawnFrames(std::map<QString, QByteArray> svg, QSize size, qreal scale,
                qint64 budgetBytes = kDefaultBudgetBytes);

    // Draws the frame if it is not held. The reference lasts until the next call.
    const Frame& get(const QString& name);

    qint64 heldBytes() const { return heldBytes_; }
    std::size_t heldFrames() const { return held_.size(); }
    int drawCount() const { return drawCount_; }

private:
    struct Held {
        Frame frame;
        qint64 bytes = 0;
        std::list<QString>::iterator recent;
    };

    Frame draw(const QByteArray& svg) const;
    void evictFor(const QString& keep);

    std::map<QString, QByteArray> svg_;
    QSize size_;
    qreal scale_;
    qint64 budget_;
    std::map<QString, Held> held_;
    std::list<QString> recent_;  // most recent first
    qint64 heldBytes_ = 0;
    int drawCount_ = 0;
};

}  // namespace agent
