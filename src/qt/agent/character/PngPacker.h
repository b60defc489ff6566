#pragma once

#include <QByteArray>
#include <QString>

namespace agent::character {

// The Windows drill's character file from the same manifest as packCharacter: every SVG frame is
// drawn at the character's size into a PNG picture with alpha (the Windows drill has no SVG
// renderer), and the result is checked as the Windows loader will check it. Needs a
// QGuiApplication. Throws FormatFault naming the fault.
QByteArray packCharacterPng(const QString& manifestPath);

}  // namespace agent::character
