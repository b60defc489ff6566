// The charts module's entry point, looked up by name when the first listening summary is built.

#include "qt/drill/ChartsRateChart.h"

extern "C" __attribute__((visibility("default"))) drill::RateChart* tvx_make_rate_chart(
    const QString& title, const QStringList& categories, QWidget* parent) {
    return drill::makeChartsRateChart(title, categories, parent).release();
}
