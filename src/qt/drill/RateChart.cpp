#include "qt/drill/RateChart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace drill {
namespace {

constexpr int kTicks = 6;  // 0, 20, ... 100 %
const QColor kBar(0xd0, 0x40, 0x40);
const QColor kGrid(0xe0, 0xe0, 0xe0);
const QColor kAxis(0x8c, 0x8c, 0x8c);
const QColor kLabel(0x40, 0x40, 0x40);

}  // namespace

RateChart::RateChart(const QString& title, const QStringList& categories, QWidget* parent)
    : QWidget(parent),
      title_(title),
      categories_(categories),
      rates_(static_cast<size_t>(categories.size()), 0.0) {
    setMinimumSize(minimumSizeHint());
}

void RateChart::setRate(int category, double percent) {
    rates_.at(static_cast<size_t>(category)) = std::clamp(percent, 0.0, 100.0);
    update();
}

void RateChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The chart's white card on the window's background.
    const QRectF card = QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5);
    QPainterPath rounded;
    rounded.addRoundedRect(card, 6, 6);
    p.fillPath(rounded, Qt::white);

    const QFontMetrics fm(font());
    int labelLength = 0;
    for (const QString& c : categories_) labelLength = std::max(labelLength, fm.horizontalAdvance(c));
    const int yLabelWidth = fm.horizontalAdvance(QStringLiteral("100%"));
    const int titleHeight = fm.height();
    const QRectF plot(card.left() + 8 + yLabelWidth + 6, card.top() + 6 + titleHeight + 8,
                      card.width() - (8 + yLabelWidth + 6) - 14,
                      card.height() - (6 + titleHeight + 8) - (labelLength + 12));
    if (plot.width() <= 0 || plot.height() <= 0 || categories_.isEmpty()) return;

    p.setPen(kLabel);
    p.drawText(QRectF(card.left(), card.top() + 6, card.width(), titleHeight), Qt::AlignCenter, title_);

    // Value grid and labels.
    for (int t = 0; t < kTicks; ++t) {
        const double y = plot.bottom() - plot.height() * t / (kTicks - 1);
        p.setPen(QPen(t == 0 ? kAxis : kGrid, 1));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(kLabel);
        p.drawText(QRectF(card.left(), y - titleHeight / 2.0, plot.left() - card.left() - 6, titleHeight),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1%").arg(t * 100 / (kTicks - 1)));
    }
    // Category grid, bars half a category wide, and the names turned to read upwards.
    const double step = plot.width() / static_cast<double>(categories_.size());
    for (int i = 0; i <= categories_.size(); ++i) {
        p.setPen(QPen(i == 0 ? kAxis : kGrid, 1));
        const double x = plot.left() + step * i;
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    for (int i = 0; i < categories_.size(); ++i) {
        const double centre = plot.left() + step * (i + 0.5);
        const double height = plot.height() * rates_[static_cast<size_t>(i)] / 100.0;
        if (height > 0) p.fillRect(QRectF(centre - step / 4, plot.bottom() - height, step / 2, height), kBar);
        p.save();
        p.translate(centre, plot.bottom() + 4);
        p.rotate(-90);
        p.setPen(kLabel);
        p.drawText(QRectF(-labelLength, -titleHeight / 2.0, labelLength, titleHeight),
                   Qt::AlignRight | Qt::AlignVCenter, categories_[i]);
        p.restore();
    }
}

}  // namespace drill
