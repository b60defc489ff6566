#pragma once

// Message boxes whose text may quote a file or a child process: shown as plain text (never rich
// text, which would follow links and load images), bounded in length, and always on the screen.

#include <QMessageBox>
#include <QString>

class QWidget;

namespace ui {

// A box with an OK button, not yet shown. The text passes through boundedMessage(); quote file
// content in it with readableExcerpt()/quotedExcerpt() first. Call show() for a notice that lets
// the program go on, or exec() to wait. With parent null and WA_DeleteOnClose set by the caller,
// a notice cleans up after itself.
QMessageBox* newPlainMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                                QWidget* parent = nullptr);

// Shows such a box and waits until it is closed.
void showPlainMessage(QMessageBox::Icon icon, const QString& title, const QString& text,
                      QWidget* parent = nullptr);

// Moves and, if need be, shrinks a top-level window so that it lies wholly on its screen's free area.
void keepOnScreen(QWidget& window);

}  // namespace ui
