#include "qt/drill/ChartsRateChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QValueAxis>

namespace drill {
namespace {

class ChartsRateChart final : public RateChart {
public:
    ChartsRateChart(const QString& title, const QStringList& categories, QWidget* parent) {
        set_ = new QBarSet(QStringLiteral("誤答率"));
        for (int i = 0; i < categories.size(); ++i) set_->append(0.0);
        set_->setColor(QColor(0xd0, 0x40, 0x40));
        auto* series = new QBarSeries;
        series->append(set_);
        auto* chart = new QChart;
        chart->addSeries(series);
        chart->setTitle(title);
        chart->legend()->hide();
        chart->setAnimationOptions(QChart::NoAnimation);
        chart->setMargins(QMargins(2, 2, 2, 2));
        auto* x = new QBarCategoryAxis;
        x->append(categories);
        // Upright labels of fifteen categories overlap; turned ones need their whole length.
        x->setLabelsAngle(-90);
        x->setTruncateLabels(false);
        chart->addAxis(x, Qt::AlignBottom);
        series->attachAxis(x);
        auto* y = new QValueAxis;
        y->setRange(0, 100);
        y->setTickCount(6);
        y->setLabelFormat(QStringLiteral("%d%%"));
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(y);
        view_ = new QChartView(chart, parent);
        view_->setRenderHint(QPainter::Antialiasing);
        view_->setMinimumSize(320, 200);
    }

    QWidget* widget() override { return view_; }
    void setRate(int category, double percent) override { set_->replace(category, percent); }
    double rate(int category) const override { return set_->at(category); }

private:
    QChartView* view_ = nullptr;
    QBarSet* set_ = nullptr;
};

}  // namespace

std::unique_ptr<RateChart> makeChartsRateChart(const QString& title, const QStringList& categories,
                                               QWidget* parent) {
    return std::make_unique<ChartsRateChart>(title, categories, parent);
}

}  // namespace drill
