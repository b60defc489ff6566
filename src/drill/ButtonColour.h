#pragma once

#include <QColor>
#include <QPushButton>

namespace drill {

// Graphical buttons show their back colour; a style sheet keeps that true under every Qt style.
inline void setButtonBackColour(QPushButton* b, const QColor& c) {
    b->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; }"
                                    "QPushButton:focus { border: 2px solid #404040; }")
                         .arg(c.name()));
}

}  // namespace drill
