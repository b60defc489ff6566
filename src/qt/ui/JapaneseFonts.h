#pragma once

// The Windows faces the drill was laid out with, and IPA's faces where they are not installed
// (metrics close enough that the twips layout holds).

#include <QFont>
#include <QStringList>

namespace ui {

// ＭＳ ゴシック: fixed width, for digits and the balloon.
inline QFont gothicFont(double points) {
    QFont f;
    f.setFamilies(
        {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")});
    f.setPointSizeF(points);
    return f;
}

// ＭＳ Ｐゴシック: proportional, for dialogs and menus.
inline QFont pGothicFont(double points) {
    QFont f;
    f.setFamilies(
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")});
    f.setPointSizeF(points);
    return f;
}

}  // namespace ui
