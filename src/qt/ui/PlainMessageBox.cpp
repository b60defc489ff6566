#include "qt/ui/PlainMessageBox.h"

#include "core/ui/ScreenRect.h"
#include "qt/ui/PlainText.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ui {
namespace {

// QMessageBox sizes itself while it is being shown, so the screen check follows every resize.
class OnScreen : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type == QEvent::Show || type == QEvent::Resize || type == QEvent::Move) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->isVisible() && !busy_) {
                busy_ = true;
                keepOnScreen(*w);
                busy_ = false;
            }
        }
        return false;
    }

private:
    bool busy_ = false;
};

// Word wrap only breaks at spaces: a long path or a run of one letter would widen the box
// past the screen. A zero-width space every so often gives the label somewhere to break.
QString breakable(const QString& text) {
    constexpr int kRun = 60;
    QString out;
    out.reserve(text.size() + text.size() / kRun);
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kRun && !c.isLowSurrogate()) {
            out += QChar(0x200B);
            run = 1;
        }
        out += c;
    }
    return out;
}

}  // namespace

void keepOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    QRect frame = window.frameGeometry();
    const QSize extra = frame.size() - window.size();
    if (frame.width() > room.width() || frame.height() > room.height()) {
        const QSize inner(std::max(1, std::min(frame.width(), room.width()) - extra.width()),
                          std::max(1, std::min(frame.height(), room.height()) - extra.height()));
        window.setMaximumSize(inner);
        window.resize(inner);
        frame = window.frameGeometry();
    }
    const ScreenRect kept = keptOnScreen({frame.x(), frame.y(), frame.width(), frame.height()},
                                         {room.x(), room.y(), room.width(), room.height()});
    const QPoint topLeft(kept.x, kept.y);
    if (topLeft != frame.topLeft()) window.move(topLeft);
}

QMessageBox* newPlainMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                                QWidget* parent) {
    auto* box = new QMessageBox(icon, title, QString(), QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    box->setText(breakable(boundedMessage(text)));
    box->installEventFilter(new OnScreen(box));
    return box;
}

void showPlainMessage(QMessageBox::Icon icon, const QString& title, const QString& text, QWidget* parent) {
    QMessageBox* box = newPlainMessageBox(icon, title, text, parent);
    box->exec();
    delete box;
}

}  // namespace ui
