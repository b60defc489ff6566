#include "qt/ui/PlainText.h"

#include <gtest/gtest.h>

namespace {

using ui::boundedMessage;
using ui::readableExcerpt;

TEST(ReadableExcerpt, ControlCharactersAreShownNotObeyed) {
    // A NUL used to end the message mid-word; a newline or a bidi override would change its layout.
    EXPECT_EQ(readableExcerpt(QString::fromUtf16(u"pee\u0000dy", 6)), QStringLiteral("pee\\0dy"));
    EXPECT_EQ(readableExcerpt(QStringLiteral("a\nb\r\tc\x1b[31m")), QStringLiteral("a\\nb\\r\\tc\\x1B[31m"));
    EXPECT_EQ(readableExcerpt(QString::fromUtf16(u"abc\u202Eevil\u0085")),
              QStringLiteral("abc\\u202Eevil\\x85"));
    EXPECT_EQ(readableExcerpt(QString(QChar(0xD800)) + QLatin1Char('x')), QStringLiteral("\\uD800x"));
    EXPECT_EQ(readableExcerpt(QStringLiteral("日本語 <b>bold</b> ok")),
              QStringLiteral("日本語 <b>bold</b> ok"));
}

TEST(ReadableExcerpt, LongTextIsCutWithAnEllipsisNeverInsideAnEscapeOrAPair) {
    const QString exact(80, QLatin1Char('x'));
    EXPECT_EQ(readableExcerpt(exact), exact);
    const QString cut = readableExcerpt(QString(5 * 1024 * 1024, QLatin1Char('y')));
    EXPECT_EQ(cut.size(), 80);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("y…")));

    // 78 characters, then an escape that would cross the limit: it goes whole.
    const QString escapes = readableExcerpt(QString(78, QLatin1Char('a')) + QStringLiteral("\x01\x02"));
    EXPECT_EQ(escapes, QString(78, QLatin1Char('a')) + QStringLiteral("…"));
    const QString emoji = QString::fromUtf16(u"\U0001F99C");  // a parrot, two UTF-16 units
    QString parrots;
    for (int i = 0; i < 60; ++i) parrots += emoji;
    const QString cutParrots = readableExcerpt(parrots, 10);
    EXPECT_EQ(cutParrots, emoji + emoji + emoji + emoji + QStringLiteral("…"));
    EXPECT_EQ(readableExcerpt(QString(500, QLatin1Char('\n'))),
              QStringLiteral("\\n").repeated(39) + QStringLiteral("…"));
}

TEST(BoundedMessage, KeepsLineBreaksButBoundsLinesAndTheirLength) {
    EXPECT_EQ(boundedMessage(QStringLiteral("one\r\ntwo\nthree\x07")),
              QStringLiteral("one\ntwo\nthree\\x07"));
    const QString many = boundedMessage(QString(500, QLatin1Char('\n')));
    EXPECT_EQ(many.count(QLatin1Char('\n')), 19);
    EXPECT_TRUE(many.endsWith(QStringLiteral("…")));
    const QString wide = boundedMessage(QString(100000, QLatin1Char('w')), 20, 400);
    EXPECT_EQ(wide.size(), 400);
}

}  // namespace
