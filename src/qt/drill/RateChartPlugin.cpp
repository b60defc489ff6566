// The charts module's entry point, looked up by name when the first listening summary is built.

#include "qt/drill/ChartsRateChart.h"

namespace drill {

// Declared with C linkage in RateChart.h, so the drill and this definition cannot disagree on its type.
__attribute__((visibility("default"))) RateChart* tvx_make_rate_chart(const QString& title,
                                                                      const QStringList& categories,
                                                                      QWidget* parent) {
    return makeChartsRateChart(title, categories, parent).release();
}

}  // namespace drill
