#pragma once

#include <QByteArray>
#include <QString>

namespace agent::character {

// Builds a character file from a manifest: the manifest is the character document itself,
// except that each frame names an SVG file (relative to the manifest) instead of holding its text.
// The result is checked as the program will check it; throws FormatFault naming the fault.
QByteArray packCharacter(const QString& manifestPath);

}  // namespace agent::character
