#include "qt/ui/MenuBarStyle.h"

namespace ui {

QIcon MenuBarStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (icon == SP_ToolBarHorizontalExtensionButton) return {};
    return QProxyStyle::standardIcon(icon, option, widget);
}

}  // namespace ui
