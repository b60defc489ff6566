#pragma once

#include "qt/agent/character/CharacterFormat.h"

#include <QByteArray>
#include <QString>

namespace agent::character {

// Reads, checks and test-draws every frame of a character file; a file whose bytes have
// checkedFingerprint (see characterFingerprint) is only decoded, as the build checked it in full.
// Throws agent::AgentError with one message naming the file and its first fault.
CharacterData loadCharacterFile(const QString& path, const QString& expectedId,
                                const QByteArray& checkedFingerprint = {});

// The message used for every fault of a character file.
QString characterFileFault(const QString& path, const QString& what);

}  // namespace agent::character
