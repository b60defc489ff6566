#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

namespace drill {

// A bar chart of error rates, 0-100 %, one bar per category under a title; drawn with QPainter so
// that the drill does not load a chart library at start-up for a window the learner may never open.
class RateChart : public QWidget {
    Q_OBJECT
public:
    RateChart(const QString& title, const QStringList& categories, QWidget* parent = nullptr);

    void setRate(int category, double percent);
    double rate(int category) const { return rates_.at(static_cast<size_t>(category)); }
    const QString& title() const { return title_; }
    const QStringList& categories() const { return categories_; }

    QSize minimumSizeHint() const override { return {320, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QStringList categories_;
    std::vector<double> rates_;
};

}  // namespace drill
