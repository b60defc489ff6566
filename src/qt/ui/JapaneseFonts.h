#pragma once

// The Windows faces the drill was laid out with, and IPA's faces where they are not installed
// (metrics close enough that the twips layout holds).

#include <QFont>

namespace ui {

// ＭＳ ゴシック: fixed width, for digits and the balloon.
QFont gothicFont(double points);

// ＭＳ Ｐゴシック: proportional, for dialogs and menus.
QFont pGothicFont(double points);

}  // namespace ui
