#include "qt/agent/NoticeText.h"

#include <gtest/gtest.h>

namespace agent {
namespace {

TEST(NoticeText, AnEnginesWordsStayPlainBoundedAndVisible) {
    // Short, ordinary text passes unchanged, line breaks included.
    const QString plain = QString::fromUtf8("日本語の読み上げを1つ飛ばしました。\n\n(open_jtalk timed out)");
    EXPECT_EQ(noticeText(plain), plain);
    // Control characters are shown, not acted on: a NUL no longer cuts the message short.
    EXPECT_EQ(noticeText(QString::fromUtf8("a\0b\tc\x1b[31m", 10)), QStringLiteral("a\\0b\\tc\\x1B[31m"));
    // One endless line is cut with an ellipsis; so is a flood of lines and a flood of text.
    const QString wide = noticeText(QString(5000, u'x'));
    EXPECT_EQ(wide.size(), kNoticeMaxLineChars);
    EXPECT_TRUE(wide.endsWith(QStringLiteral("…")));
    const QString tall = noticeText(QString(500, u'\n'));
    EXPECT_EQ(tall.count(u'\n'), kNoticeMaxLines - 1);
    EXPECT_TRUE(tall.endsWith(QStringLiteral("…")));
    QString many;
    for (int i = 0; i < kNoticeMaxLines; ++i) many += QString(kNoticeMaxLineChars, u'y') + u'\n';
    EXPECT_LE(noticeText(many).size(), kNoticeMaxChars + 1);
    EXPECT_TRUE(noticeText(many).endsWith(QStringLiteral("…")));
}

}  // namespace
}  // namespace agent
