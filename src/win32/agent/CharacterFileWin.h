#pragma once

#include <windows.h>

#include "core/character/CharacterDocument.h"

#include <cstdint>
#include <string>
#include <vector>

namespace win32::agent {

// A frame decoded for a layered window: premultiplied BGRA, top row first.
struct DecodedFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// UTF-8 to UTF-16 and back, for file names and window texts.
std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& text);

// Reads and checks the Windows character file (PNG frames) with the Linux loader's budgets, then
// decodes every frame once, so that a picture whose data is broken behind a sound header is refused
// here and not while the drill runs. Throws ::agent::AgentError naming the file and its first fault.
::agent::character::CharacterDocument readCharacterFile(const std::string& path,
                                                        const std::string& expectedId);

// Decodes one PNG frame of a checked document with GDI+; throws ::agent::character::DocumentFault.
DecodedFrame decodePngFrame(const std::string& png, int width, int height);

}  // namespace win32::agent
