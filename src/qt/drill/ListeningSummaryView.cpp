#include "qt/drill/ListeningSummaryView.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace drill {

namespace {

QChartView* rateChart(const QString& title, const QStringList& categories, QBarSet*& set, QWidget* parent) {
    set = new QBarSet(QStringLiteral("誤答率"));
    for (int i = 0; i < categories.size(); ++i) set->append(0.0);
    set->setColor(QColor(0xd0, 0x40, 0x40));
    auto* series = new QBarSeries;
    series->append(set);
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
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 200);
    return view;
}

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

}  // namespace

ListeningSummaryView::ListeningSummaryView(QWidget* parent) : QWidget(parent) {
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
    PlaceChart = rateChart(QString::fromUtf8(kPlaceChartTitle), placeNames, PlaceRates, this);
    DigitChart = rateChart(QString::fromUtf8(kDigitChartTitle), digitCounts, DigitRates, this);

    auto* charts = new QVBoxLayout;
    charts->addWidget(PlaceChart);
    charts->addWidget(DigitChart);
    auto* row = new QHBoxLayout;
    row->addWidget(Places);
    row->addLayout(charts, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Counts);
    column->addLayout(row, 1);
}

void ListeningSummaryView::Show(const ListeningSession& session) {
    Show(SummariseSession(session));
}

void ListeningSummaryView::Show(const ListeningSummary& summary) {
    Counts->setText(QString::fromStdString(summary.counts));
    for (int row = 0; row < kPlaceCount; ++row) {
        const PlaceRow& r = summary.rows[static_cast<size_t>(row)];
        Places->setItem(row, 1, cell(QString::number(r.tried)));
        Places->setItem(row, 2, cell(QString::number(r.wrong)));
        PlaceRates->replace(row, summary.placeRates[static_cast<size_t>(row)]);
    }
    for (int n = 0; n < kPlaceCount; ++n) DigitRates->replace(n, summary.digitRates[static_cast<size_t>(n)]);
}

}  // namespace drill
