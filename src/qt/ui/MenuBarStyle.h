#pragma once

#include <QProxyStyle>

namespace ui {

// The application's own style, less the icon of a menu bar's overflow button. The drill's bar never
// overflows (a fixed-size window with two items), and that icon alone loaded every image format
// plugin and the icon theme before the main window could map.
class MenuBarStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace ui
