#pragma once

// The size of a PNG picture from its header alone, before any decoder sees the data.

#include <cstdint>
#include <string>
#include <string_view>

namespace agent::character {

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Reads the signature and the IHDR chunk (its length and checksum too); throws DocumentFault with
// a reason that follows "frame "name" " when they are not those of a PNG file.
PngHeader readPngHeader(std::string_view bytes);

// Strict base64 (RFC 4648, padded, no line breaks); returns false on any other character.
bool decodeBase64(std::string_view text, std::string& out);
std::string encodeBase64(std::string_view bytes);

}  // namespace agent::character
