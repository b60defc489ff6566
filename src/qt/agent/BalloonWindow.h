#pragma once

#include "core/agent/AgentApi.h"
#include "qt/agent/BalloonPlacement.h"

#include <QString>
#include <QWidget>

class QPainterPath;

namespace agent {

// The speech balloon: a window of its own, so showing it never moves the character's window.
class BalloonWindow : public QWidget, public IBalloon {
    Q_OBJECT
public:
    BalloonWindow();

    void setFontSize(int points) override;
    int fontSize() const override { return fontSize_; }

    // Shows text in a balloon whose tail points at beak (screen pixels) of the character at character.
    void showText(const QString& text, const QRect& character, QPoint beak);
    // Keeps a shown balloon beside a character that moved.
    void follow(const QRect& character, QPoint beak);
    QString text() const { return text_; }
    QFont textFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void layOut(const QRect& character, QPoint beak);
    QPainterPath outline() const;

    QString text_;
    int fontSize_ = 12;
    BalloonGeometry geometry_;
};

}  // namespace agent
