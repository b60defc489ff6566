#pragma once

#include "core/listening/ListeningSession.h"
#include "core/listening/ListeningSummary.h"
#include "qt/drill/RateChart.h"

#include <QWidget>

#include <memory>

class QLabel;
class QTableWidget;

namespace drill {

// The session summary: counts, the per-place table and the error-rate charts by place and by
// number of digits.
class ListeningSummaryView : public QWidget {
    Q_OBJECT
public:
    ListeningSummaryView(RateChartFactory rateCharts, QWidget* parent = nullptr);
    ~ListeningSummaryView() override;

    void Show(const ListeningSession& session);
    void Show(const ListeningSummary& summary);

    QLabel* Counts = nullptr;
    // Rows from 百兆 down to 一; columns: place, tried, wrong.
    QTableWidget* Places = nullptr;
    // Percent per category, in the charts' order (places 百兆..一, digit counts 1..15).
    std::unique_ptr<RateChart> PlaceChart;
    std::unique_ptr<RateChart> DigitChart;
};

}  // namespace drill
