#include "platform/ProgramDirectory.h"
#include "qt/drill/RateChart.h"

#include <QDir>
#include <QLabel>
#include <QLibrary>

#include <vector>

namespace drill {
namespace {

constexpr const char* kModuleFile = "tvx_rate_chart.so";

// Stands where a chart would, saying why it cannot be drawn; the table beside it still has the counts.
class MissingRateChart final : public RateChart {
public:
    MissingRateChart(const QString& why, const QStringList& categories, QWidget* parent)
        : label_(new QLabel(why, parent)), rates_(static_cast<size_t>(categories.size()), 0.0) {
        label_->setTextFormat(Qt::PlainText);
        label_->setWordWrap(true);
        label_->setMinimumSize(320, 200);
    }

    QWidget* widget() override { return label_; }
    void setRate(int category, double percent) override {
        rates_.at(static_cast<size_t>(category)) = percent;
    }
    double rate(int category) const override { return rates_.at(static_cast<size_t>(category)); }

private:
    QLabel* label_;
    std::vector<double> rates_;
};

struct Module {
    MakeRateChart make = nullptr;
    QString fault;
};

const Module& module() {
    // Opened once and never closed: the charts' code must outlive every chart made from it.
    static const Module opened = [] {
        QLibrary library(QDir(QString::fromStdString(platform::programDirectory())).filePath(kModuleFile));
        Module m;
        if (library.load()) m.make = reinterpret_cast<MakeRateChart>(library.resolve(kRateChartEntryPoint));
        if (!m.make) m.fault = library.errorString();
        return m;
    }();
    return opened;
}

std::unique_ptr<RateChart> makeFromModule(const QString& title, const QStringList& categories,
                                          QWidget* parent) {
    const Module& m = module();
    if (m.make) return std::unique_ptr<RateChart>(m.make(title, categories, parent));
    return std::make_unique<MissingRateChart>(
        QStringLiteral("%1: the chart cannot be drawn (%2).").arg(title, m.fault), categories, parent);
}

}  // namespace

RateChartFactory rateChartModule() {
    return &makeFromModule;
}

}  // namespace drill
