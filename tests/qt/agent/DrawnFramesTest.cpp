#include "qt/agent/DrawnFrames.h"

#include "QtTestApp.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

using agent::DrawnFrames;

// A 64x64 frame: a square of one colour, so each frame's pixels tell which frame it is.
QByteArray square(int shade) {
    return QStringLiteral(R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64">)svg"
                          R"svg(<rect x="8" y="8" width="48" height="48" fill="rgb(%1,0,0)"/></svg>)svg")
        .arg(shade)
        .toUtf8();
}

std::map<QString, QByteArray> frames(int count) {
    std::map<QString, QByteArray> out;
    for (int i = 0; i < count; ++i) out.emplace(QStringLiteral("f%1").arg(i), square(i * 10));
    return out;
}

constexpr qint64 kFrameBytes = 64 * 64 * 4;

TEST(DrawnFrames, DrawsOnFirstUseOnlyAndKeepsWhatFits) {
    DrawnFrames drawn(frames(20), QSize(64, 64), 1.0, 5 * kFrameBytes + 1000);
    EXPECT_EQ(drawn.drawCount(), 0);
    const DrawnFrames::Frame& first = drawn.get(QStringLiteral("f3"));
    EXPECT_EQ(first.pixmap.toImage().pixelColor(32, 32), QColor(30, 0, 0));
    EXPECT_EQ(first.shape.boundingRect(), QRect(8, 8, 48, 48));
    drawn.get(QStringLiteral("f3"));
    EXPECT_EQ(drawn.drawCount(), 1);

    // Cycling through all twenty never holds more than the budget.
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 20; ++i) {
            drawn.get(QStringLiteral("f%1").arg(i));
            EXPECT_LE(drawn.heldBytes(), 5 * kFrameBytes + 1000);
            EXPECT_LE(drawn.heldFrames(), 5u);
        }
    EXPECT_EQ(drawn.drawCount(), 1 + 19 + 20 + 20);  // f3 was still held in the first round
}

TEST(DrawnFrames, TheLeastRecentlyShownGoFirstAndComeBackIntact) {
    DrawnFrames drawn(frames(4), QSize(64, 64), 1.0, 3 * kFrameBytes + 1000);
    for (const char* name : {"f0", "f1", "f2"}) drawn.get(QLatin1String(name));
    drawn.get(QStringLiteral("f0"));  // f1 is now the least recent
    drawn.get(QStringLiteral("f3"));
    EXPECT_EQ(drawn.drawCount(), 4);
    drawn.get(QStringLiteral("f0"));
    drawn.get(QStringLiteral("f2"));
    EXPECT_EQ(drawn.drawCount(), 4);
    EXPECT_EQ(drawn.get(QStringLiteral("f1")).pixmap.toImage().pixelColor(32, 32), QColor(10, 0, 0));
    EXPECT_EQ(drawn.drawCount(), 5);
}

TEST(DrawnFrames, AFrameLargerThanTheBudgetIsStillShown) {
    DrawnFrames drawn(frames(2), QSize(64, 64), 2.0, 100);
    EXPECT_EQ(drawn.get(QStringLiteral("f1")).pixmap.size(), QSize(128, 128));
    EXPECT_EQ(drawn.get(QStringLiteral("f0")).shape.boundingRect(), QRect(8, 8, 48, 48));
    EXPECT_EQ(drawn.heldFrames(), 1u);
    EXPECT_THROW(drawn.get(QStringLiteral("absent")), std::out_of_range);
}

}  // namespace
