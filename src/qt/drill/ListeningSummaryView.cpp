#include "qt/drill/ListeningSummaryView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace drill {

namespace {

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

}  // namespace

ListeningSummaryView::ListeningSummaryView(RateChartFactory rateCharts, QWidget* parent) : QWidget(parent) {
    Counts = new QLabel(this);
    Counts->setObjectName(QStringLiteral("Counts"));
    Counts->setTextFormat(Qt::PlainText);

    Places = new QTableWidget(kPlaceCount, 3, this);
    Places->setHorizontalHeaderLabels({QStringLiteral("位"), QStringLiteral("出題"), QStringLiteral("誤り")});
    Places->verticalHeader()->hide();
    Places->setFocusPolicy(Qt::NoFocus);
    Places->setSelectionMode(QAbstractItemView::NoSelection);
    Places->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Places->verticalHeader()->setDefaultSectionSize(20);
    Places->setFixedWidth(150);

    const ListeningSummary empty = SummariseSession(ListeningSession());
    QStringList placeNames;
    for (const PlaceRow& r : empty.rows) {
        placeNames << QString::fromStdString(r.name);
        Places->setItem(static_cast<int>(placeNames.size()) - 1, 0, cell(placeNames.back()));
    }
    QStringList digitCounts;
    for (const std::string& label : empty.digitLabels) digitCounts << QString::fromStdString(label);
    PlaceChart = rateCharts(QString::fromUtf8(kPlaceChartTitle), placeNames, this);
    DigitChart = rateCharts(QString::fromUtf8(kDigitChartTitle), digitCounts, this);

    auto* charts = new QVBoxLayout;
    charts->addWidget(PlaceChart->widget());
    charts->addWidget(DigitChart->widget());
    auto* row = new QHBoxLayout;
    row->addWidget(Places);
    row->addLayout(charts, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Counts);
    column->addLayout(row, 1);
}

// The charts' widgets are children of this one and go with it; only the chart objects are freed here.
ListeningSummaryView::~ListeningSummaryView() = default;

void ListeningSummaryView::Show(const ListeningSession& session) {
    Show(SummariseSession(session));
}

void ListeningSummaryView::Show(const ListeningSummary& summary) {
    Counts->setText(QString::fromStdString(summary.counts));
    for (int row = 0; row < kPlaceCount; ++row) {
        const PlaceRow& r = summary.rows[static_cast<size_t>(row)];
        Places->setItem(row, 1, cell(QString::number(r.tried)));
        Places->setItem(row, 2, cell(QString::number(r.wrong)));
        PlaceChart->setRate(row, summary.placeRates[static_cast<size_t>(row)]);
    }
    for (int n = 0; n < kPlaceCount; ++n) DigitChart->setRate(n, summary.digitRates[static_cast<size_t>(n)]);
}

}  // namespace drill
