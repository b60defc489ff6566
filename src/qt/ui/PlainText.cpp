#include "qt/ui/PlainText.h"

#include <QStringList>

#include <vector>

namespace ui {
namespace {

const QString kEllipsis = QStringLiteral("…");

bool needsEscape(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
    // Line separators and the marks that reorder or hide text would make a message read wrongly.
    if (c == 0x2028 || c == 0x2029 || c == 0xFEFF) return true;
    if ((c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069))
        return true;
    return c >= 0xD800 && c <= 0xDFFF;  // a lone surrogate
}

QString escapeOf(char32_t c) {
    switch (c) {
        case 0:
            return QStringLiteral("\\0");
        case '\n':
            return QStringLiteral("\\n");
        case '\r':
            return QStringLiteral("\\r");
        case '\t':
            return QStringLiteral("\\t");
        default:
            break;
    }
    const auto code = static_cast<unsigned>(c);
    return c <= 0xFF ? QString::asprintf("\\x%02X", code) : QString::asprintf("\\u%04X", code);
}

// Display units: one character (a surrogate pair stays whole) or one escape; stops after limit chars.
std::vector<QString> unitsOf(const QString& text, qsizetype limit) {
    std::vector<QString> units;
    qsizetype length = 0;
    for (qsizetype i = 0; i < text.size() && length <= limit; ++i) {
        const QChar c = text.at(i);
        QString unit;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            unit = QString(text.constData() + i, 2);
            ++i;
        } else {
            unit = needsEscape(c.unicode()) ? escapeOf(c.unicode()) : QString(c);
        }
        length += unit.size();
        units.push_back(std::move(unit));
    }
    return units;
}

}  // namespace

QString readableExcerpt(const QString& text, int maxChars) {
    std::vector<QString> units = unitsOf(text, maxChars);
    qsizetype length = 0;
    for (const QString& u : units) length += u.size();
    const bool cut = length > maxChars;
    if (cut) {
        // Room for the ellipsis: drop whole units, never half an escape.
        while (!units.empty() && length + kEllipsis.size() > maxChars) {
            length -= units.back().size();
            units.pop_back();
        }
    }
    QString out;
    out.reserve(length + 1);
    for (const QString& u : units) out += u;
    if (cut) out += kEllipsis;
    return out;
}

QString quotedExcerpt(const QString& text, int maxChars) {
    return QLatin1Char('"') + readableExcerpt(text, maxChars) + QLatin1Char('"');
}

QString boundedMessage(const QString& text, int maxLines, int maxLineChars) {
    QString unified = text;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = unified.split(QLatin1Char('\n'));
    const bool tooMany = lines.size() > maxLines;
    if (tooMany) lines = lines.mid(0, maxLines - 1);
    for (QString& line : lines) line = readableExcerpt(line, maxLineChars);
    if (tooMany) lines.append(kEllipsis);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace ui
