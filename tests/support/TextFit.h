#pragma once

// Whether a control shows its text whole, in the fonts that stand in for the Windows ones.

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tvx::test {

// The room a control gives its text, as its style lays it out.
inline QRect textRoom(const QWidget* w) {
    const QStyle* style = w->style();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        QStyle::SubElement element = QStyle::SE_PushButtonContents;
        if (qobject_cast<const QCheckBox*>(b)) element = QStyle::SE_CheckBoxContents;
        if (qobject_cast<const QRadioButton*>(b)) element = QStyle::SE_RadioButtonContents;
        return style->subElementRect(element, &opt, b);
    }
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
        QStyleOptionFrame opt;
        opt.initFrom(e);
        opt.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e);
        // QLineEdit keeps two pixels each side inside its contents.
        return style->subElementRect(QStyle::SE_LineEditContents, &opt, e).adjusted(2, 0, -2, 0);
    }
    return w->contentsRect();
}

// Empty when text fits control whole; otherwise what is wrong.
inline std::string misfit(const QWidget* control, const QString& text) {
    const QFontMetrics fm(control->font());
    const QRect room = textRoom(control);
    const QStringList lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split('\n');
    std::string why;
    for (const QString& line : lines) {
        if (fm.horizontalAdvance(line) > room.width())
            why += "\"" + line.toStdString() + "\" needs " + std::to_string(fm.horizontalAdvance(line)) +
                   " px, has " + std::to_string(room.width()) + "; ";
    }
    // The glyphs of a line stand within its em; lines follow each other at the line spacing.
    const int height = QFontInfo(control->font()).pixelSize() + fm.lineSpacing() * int(lines.size() - 1);
    if (height > room.height())
        why += std::to_string(lines.size()) + " line(s) need " + std::to_string(height) +
               " px of height, have " + std::to_string(room.height()) + "; ";
    if (!why.empty())
        why = control->objectName().toStdString() + " (" + control->metaObject()->className() + ", " +
              std::to_string(control->font().pointSizeF()) + " pt): " + why;
    return why;
}

inline QString shownText(const QWidget* w) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (const auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    return {};
}

// Walks every button, check box, option button, label and text box under root.
inline int expectAllFit(const QWidget* root, const std::map<const QWidget*, QStringList>& alsoShown = {}) {
    int walked = 0;
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        if (!qobject_cast<const QAbstractButton*>(w) && !qobject_cast<const QLabel*>(w) &&
            !qobject_cast<const QLineEdit*>(w))
            continue;
        ++walked;
        QStringList texts{shownText(w)};
        if (const auto it = alsoShown.find(w); it != alsoShown.end()) texts += it->second;
        for (const QString& t : texts) EXPECT_EQ(misfit(w, t), "");
    }
    return walked;
}

}  // namespace tvx::test
