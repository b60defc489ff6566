#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace drill {

// One error-rate bar chart of the listening summary, a bar per category. Qt Charts draws it from a
// module of its own that the first summary opens, so the drill's start-up never loads Qt Charts.
class RateChart {
public:
    virtual ~RateChart() = default;
    // The chart's widget, owned by the parent it was made with.
    virtual QWidget* widget() = 0;
    virtual void setRate(int category, double percent) = 0;
    virtual double rate(int category) const = 0;
};

using RateChartFactory = std::unique_ptr<RateChart> (*)(const QString& title, const QStringList& categories,
                                                        QWidget* parent);

// The charts module's one entry point, looked up under this name; the caller owns what it returns.
extern "C" RateChart* tvx_make_rate_chart(const QString& title, const QStringList& categories,
                                          QWidget* parent);
inline constexpr const char* kRateChartEntryPoint = "tvx_make_rate_chart";
using MakeRateChart = decltype(&tvx_make_rate_chart);

// The charts module beside the program, opened once. When it cannot be opened the factory makes
// charts that say so in words and still keep their rates.
RateChartFactory rateChartModule();

}  // namespace drill
