#include "qt/ui/UpDown.h"

#include <QToolButton>

namespace ui {

UpDown::UpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        // Holding an arrow repeats the press, as a spin control does.
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    up_->setObjectName("up");
    down_->setObjectName("down");
    connect(up_, &QToolButton::clicked, this, &UpDown::upClick);
    connect(down_, &QToolButton::clicked, this, &UpDown::downClick);
}

void UpDown::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace ui
