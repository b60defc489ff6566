#pragma once

#include "qt/agent/character/CharacterFormat.h"

#include <QByteArray>
#include <QString>

namespace agent::character {

// decodeCharacter, then a test drawing of every frame: everything the drill asks of a character file
// it does not know. Throws FormatFault at the first fault.
CharacterData decodeDrawableCharacter(const QByteArray& bytes, const QString& expectedId);

// SHA-256 of a file's bytes in lower-case hex: the build records the one of the file it packed and
// checked in full, so that the drill can know those bytes again without checking them twice.
QByteArray characterFingerprint(const QByteArray& bytes);

}  // namespace agent::character
