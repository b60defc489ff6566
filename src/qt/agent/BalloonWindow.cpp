#include "qt/agent/BalloonWindow.h"

#include "qt/agent/WindowShape.h"
#include "qt/ui/JapaneseFonts.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>

namespace agent {
namespace {

constexpr int kPadding = 12;
constexpr int kMaxFontPoints = 200;
const QColor kFill(255, 255, 231);
const QColor kInk(40, 40, 40);

QRect screenRoom(const QRect& character) {
    QScreen* screen = QGuiApplication::screenAt(character.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

BalloonWindow::BalloonWindow()
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("speech balloon"));
}

void BalloonWindow::setFontSize(int points) {
    if (points < 1 || points > kMaxFontPoints)
        throw AgentError("Balloon font size must be from 1 to 200 points, not " + std::to_string(points));
    fontSize_ = points;
}

QFont BalloonWindow::textFont() const {
    return ui::gothicFont(fontSize_);
}

void BalloonWindow::showText(const QString& text, const QRect& character, QPoint beak) {
    text_ = text;
    layOut(character, beak);
    update();
    show();
    raise();
}

void BalloonWindow::follow(const QRect& character, QPoint beak) {
    if (isVisible()) layOut(character, beak);
}

void BalloonWindow::layOut(const QRect& character, QPoint beak) {
    const QRect room = screenRoom(character);
    // Long texts wrap rather than run off the screen.
    const int maxTextWidth = std::max(80, std::min(640, room.width() - 2 * kPadding - 16));
    const QRect textRect =
        QFontMetrics(textFont())
            .boundingRect(QRect(0, 0, maxTextWidth, 100000), Qt::AlignCenter | Qt::TextWordWrap, text_);
    const QSize body(std::max(textRect.width(), 2 * kBalloonRadius) + 2 * kPadding,
                     std::max(textRect.height(), kBalloonRadius) + 2 * kPadding);
    geometry_ = placeBalloon(body, character, beak, room);
    setGeometry(geometry_.window);

    QBitmap mask(geometry_.window.size());
    mask.fill(Qt::color0);
    QPainter painter(&mask);
    painter.setPen(QPen(Qt::color1, 3));
    painter.setBrush(Qt::color1);
    painter.drawPath(outline());
    painter.end();
    shapeWindow(*this, QRegion(mask));
}

QPainterPath BalloonWindow::outline() const {
    QPainterPath body;
    body.addRoundedRect(QRectF(geometry_.body).adjusted(1.5, 1.5, -1.5, -1.5), kBalloonRadius,
                        kBalloonRadius);
    QPainterPath tail;
    tail.addPolygon(QPolygonF(geometry_.tail));
    tail.closeSubpath();
    return body.united(tail);
}

void BalloonWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(kFill);
    painter.drawPath(outline());
    painter.setFont(textFont());
    painter.setPen(kInk);
    painter.drawText(geometry_.body.adjusted(kPadding, kPadding, -kPadding, -kPadding),
                     Qt::AlignCenter | Qt::TextWordWrap, text_);
}

}  // namespace agent
