#include "agent/NoticeText.h"

#include <QStringList>

namespace agent {
namespace {

const QString kEllipsis = QStringLiteral("…");

QString escaped(const QString& line) {
    QString out;
    for (const QChar c : line) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

}  // namespace

QString noticeText(const QString& message) {
    QStringList lines = QString(message).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(u'\n');
    bool cut = false;
    if (lines.size() > kNoticeMaxLines) {
        lines = lines.mid(0, kNoticeMaxLines);
        cut = true;
    }
    QString out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = escaped(lines[i]);
        if (line.size() > kNoticeMaxLineChars) line = line.left(kNoticeMaxLineChars) + kEllipsis;
        if (i > 0) out += u'\n';
        out += line;
        if (out.size() > kNoticeMaxChars) {
            out = out.left(kNoticeMaxChars);
            cut = true;
            break;
        }
    }
    if (cut && !out.endsWith(kEllipsis)) out += kEllipsis;
    return out;
}

}  // namespace agent
