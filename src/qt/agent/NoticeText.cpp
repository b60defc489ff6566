#include "qt/agent/NoticeText.h"

#include "qt/ui/PlainText.h"

namespace agent {

QString noticeText(const QString& message) {
    QString out = ui::boundedMessage(message, kNoticeMaxLines, kNoticeMaxLineChars);
    if (out.size() <= kNoticeMaxChars) return out;
    out.truncate(kNoticeMaxChars);
    // Never leave half a surrogate pair behind the cut.
    if (out.back().isHighSurrogate()) out.chop(1);
    return out + QStringLiteral("…");
}

}  // namespace agent
