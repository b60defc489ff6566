#include "core/character/PngFrame.h"

#include "core/character/CharacterDocument.h"

#include <algorithm>
#include <array>

namespace agent::character {
namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1A\n", 8);

std::uint32_t bigEndian32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3]));
}

std::uint32_t crc32(std::string_view bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char ch : bytes) c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

PngHeader readPngHeader(std::string_view bytes) {
    // Signature, then IHDR: length 13, type, 13 bytes of data, checksum.
    constexpr std::size_t kHeaderBytes = 8 + 4 + 4 + 13 + 4;
    if (bytes.size() < kHeaderBytes || bytes.substr(0, 8) != kSignature)
        throw DocumentFault{"is not a PNG picture"};
    if (bigEndian32(bytes, 8) != 13 || bytes.substr(12, 4) != "IHDR")
        throw DocumentFault{"is not a PNG picture (no image header first)"};
    if (crc32(bytes.substr(12, 17)) != bigEndian32(bytes, 29))
        throw DocumentFault{"is a damaged PNG picture (its header checksum is wrong)"};
    return {bigEndian32(bytes, 16), bigEndian32(bytes, 20)};
}

bool decodeBase64(std::string_view text, std::string& out) {
    out.clear();
    if (text.size() % 4 != 0) return false;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const int pad = last ? (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=') : 0;
        int v[4];
        for (int k = 0; k < 4 - pad; ++k)
            if ((v[k] = base64Value(text[i + k])) < 0) return false;
        for (int k = 4 - pad; k < 4; ++k) v[k] = 0;
        const std::uint32_t triple = static_cast<std::uint32_t>(v[0]) << 18 | v[1] << 12 | v[2] << 6 | v[3];
        out.push_back(static_cast<char>(triple >> 16));
        if (pad < 2) out.push_back(static_cast<char>(triple >> 8 & 0xFF));
        if (pad < 1) out.push_back(static_cast<char>(triple & 0xFF));
    }
    return true;
}

std::string encodeBase64(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t triple = 0;
        for (std::size_t k = 0; k < 3; ++k)
            triple = triple << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out.push_back(k <= n ? kAlphabet[triple >> (18 - 6 * k) & 63] : '=');
    }
    return out;
}

}  // namespace agent::character
