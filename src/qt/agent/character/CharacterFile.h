#pragma once

#include "qt/agent/character/CharacterFormat.h"

#include <QString>

namespace agent::character {

// Reads, checks and test-draws every frame of a character file.
// Throws agent::AgentError with one message naming the file and its first fault.
CharacterData loadCharacterFile(const QString& path, const QString& expectedId);

// The message used for every fault of a character file.
QString characterFileFault(const QString& path, const QString& what);

}  // namespace agent::character
