#pragma once

#include "qt/drill/RateChart.h"

namespace drill {

// The rate chart drawn with Qt Charts: the charts module's one product, linked directly by tests.
std::unique_ptr<RateChart> makeChartsRateChart(const QString& title, const QStringList& categories,
                                               QWidget* parent);

}  // namespace drill
