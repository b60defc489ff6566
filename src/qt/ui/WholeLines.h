#pragma once

class QMessageBox;

namespace ui {

// Shows the box's text as plain text and makes its label wide enough for the longest line, so that
// no line is broken inside a name ("Open / JTalk"); only lines wider than the screen still wrap.
void keepLinesWhole(QMessageBox& box);

}  // namespace ui
