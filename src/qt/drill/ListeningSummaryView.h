#pragma once

#include "core/listening/ListeningSession.h"
#include "core/listening/ListeningSummary.h"

#include <QWidget>

class QBarSet;
class QChartView;
class QLabel;
class QTableWidget;

namespace drill {

// The session summary: counts, the per-place table and the error-rate charts by place and by
// number of digits.
class ListeningSummaryView : public QWidget {
    Q_OBJECT
public:
    explicit ListeningSummaryView(QWidget* parent = nullptr);

    void Show(const ListeningSession& session);
    void Show(const ListeningSummary& summary);

    QLabel* Counts = nullptr;
    // Rows from 百兆 down to 一; columns: place, tried, wrong.
    QTableWidget* Places = nullptr;
    QChartView* PlaceChart = nullptr;
    QChartView* DigitChart = nullptr;
    // Percent per category, in the charts' order (places 百兆..一, digit counts 1..15).
    QBarSet* PlaceRates = nullptr;
    QBarSet* DigitRates = nullptr;
};

}  // namespace drill
