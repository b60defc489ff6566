#pragma once

#include <QColor>
#include <QPalette>
#include <QPushButton>

namespace drill {

// Graphical buttons show their back colour on a raised face: the palette keeps the style's bevel,
// which a style sheet would flatten.
inline void setButtonBackColour(QPushButton* b, const QColor& c) {
    QPalette p = b->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Button, c);
    b->setPalette(p);
    b->setAutoFillBackground(false);
}

}  // namespace drill
