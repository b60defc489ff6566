#include "qt/ui/FitFont.h"

#include "core/ui/FittingPoints.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace ui {
namespace {

// QLineEdit keeps this many pixels between its frame and the text on each side, plus a cursor.
constexpr int kLineEditMargin = 2;
constexpr int kCursorWidth = 1;

QSize textSize(const QFontMetrics& fm, const QString& text) {
    int width = 0;
    const QStringList lines =
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
    for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
    return {width, fm.height() * static_cast<int>(lines.size())};
}

}  // namespace

QSize neededSize(const QWidget* control, const QFont& font, const QString& text) {
    const QFontMetrics fm(font);
    const QSize content = textSize(fm, text);
    const QStyle* style = control->style();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.fontMetrics = fm;
        opt.text = text;
        QStyle::ContentsType type = QStyle::CT_PushButton;
        if (qobject_cast<const QCheckBox*>(button)) type = QStyle::CT_CheckBox;
        if (qobject_cast<const QRadioButton*>(button)) type = QStyle::CT_RadioButton;
        QSize need = style->sizeFromContents(type, &opt, content, button);
        // A push button's own minimum width is no part of what its text needs.
        if (type == QStyle::CT_PushButton) {
            const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, button);
            const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &opt, button);
            need.setWidth(content.width() + margin + 2 * frame);
        }
        // Glyphs need their own height; the style's padding may overlap the bevel without clipping them.
        need.setHeight(content.height());
        return need;
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const int frame = 2 * label->frameWidth() + 2 * label->margin();
        if (label->wordWrap()) {
            const QRect r = fm.boundingRect(QRect(0, 0, label->width() - frame, 100000),
                                            Qt::TextWordWrap | int(label->alignment()), text);
            return {r.width() + frame, r.height() + frame};
        }
        return content + QSize(frame, frame);
    }
    if (qobject_cast<const QLineEdit*>(control)) {
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, control);
        return {content.width() + 2 * (frame + kLineEditMargin) + kCursorWidth, content.height()};
    }
    return content;
}

double shrinkFontToFit(QWidget* control, const QStringList& texts) {
    QFont font = control->font();
    const double start = font.pointSizeF();
    const double points = ui::fittingPoints(start, [&](double p) {
        font.setPointSizeF(p);
        return std::all_of(texts.begin(), texts.end(), [&](const QString& t) {
            const QSize need = neededSize(control, font, t);
            return need.width() <= control->width() && need.height() <= control->height();
        });
    });
    if (points < start) {
        font.setPointSizeF(points);
        control->setFont(font);
    }
    return start - points;
}

}  // namespace ui
