#pragma once

#include <QWidget>

class QToolButton;

namespace ui {

// A pair of arrow buttons that report every press, with a step the program reads and writes.
// It keeps no value or range of its own: the handlers decide what a press means.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    int Increment() const { return increment_; }
    void setIncrement(int step) { increment_ = step; }

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void upClick();
    void downClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    int increment_ = 1;
};

}  // namespace ui
