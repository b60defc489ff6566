#pragma once

#include <QString>

namespace drill {

// The explanation shown under the number until an auto-end covers it.
QString explanationText();             // three lines joined by CR LF
QString explanationDesignText();       // the same laid out with ideographic spaces

// 132 spaces then the version label; start-up appends the version.
QString versionMenuDesignCaption();
QString versionSuffix(int major, int minor, int revision);  // "1.2.6 )"

QString copyrightMenuCaption();
QString aboutText();

// The start-up failure message: what happened in Japanese first, then the technical detail.
QString startupFailureText(const QString& detail);
// Said once when the desktop does not let the program place the character (Wayland without X11).
QString characterCannotBePlacedText();

} // namespace drill
