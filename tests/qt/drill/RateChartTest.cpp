#include "qt/drill/RateChart.h"

#include "QtTestApp.h"

#include <QImage>

#include <gtest/gtest.h>

namespace drill {
namespace {

// Height in pixels of the bar colour in a column of the drawn chart.
int barHeight(const QImage& image, int x) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(x, y) == QColor(0xd0, 0x40, 0x40)) ++n;
    return n;
}

// Each bar stands over its own category, as tall as its rate; rates outside 0-100 % are held to it.
TEST(RateChart, EachBarStandsOverItsCategoryAsTallAsItsRate) {
    RateChart chart(QStringLiteral("位ごとの誤答率"),
                    {QStringLiteral("百"), QStringLiteral("十"), QStringLiteral("一"), QStringLiteral("万")});
    chart.resize(400, 240);
    const double rates[] = {0, 50, 100, 250};
    for (int i = 0; i < 4; ++i) chart.setRate(i, rates[i]);
    EXPECT_DOUBLE_EQ(chart.rate(3), 100.0);
    chart.setRate(0, -5);
    EXPECT_DOUBLE_EQ(chart.rate(0), 0.0);

    const QImage image = chart.grab().toImage();
    // Bars sit at the centres of four equal columns of the plot, which spans most of the width.
    std::vector<int> heights;
    for (int x = 0; x < image.width(); ++x) {
        const int h = barHeight(image, x);
        if (h > 0 && (heights.empty() || barHeight(image, x - 1) == 0)) heights.push_back(h);
    }
    ASSERT_EQ(heights.size(), 3u);  // nothing is drawn for 0 %
    EXPECT_NEAR(heights[0] * 2.0, heights[1], 2.0);
    EXPECT_EQ(heights[1], heights[2]);
}

}  // namespace
}  // namespace drill
