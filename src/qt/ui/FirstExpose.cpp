#include "qt/ui/FirstExpose.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace ui {
namespace {

class FirstExposeWatch final : public QObject {
public:
    FirstExposeWatch(QObject& context, std::function<void()> then)
        : QObject(&context), then_(std::move(then)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose) {
            watched->removeEventFilter(this);
            // Queued: the expose is painted before this runs.
            QTimer::singleShot(0, parent(), std::move(then_));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> then_;
};

}  // namespace

void afterFirstExpose(QWidget& window, QObject& context, std::function<void()> then) {
    window.winId();  // makes its QWindow, whose expose follows the map
    window.windowHandle()->installEventFilter(new FirstExposeWatch(context, std::move(then)));
}

}  // namespace ui
