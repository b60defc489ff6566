#include "core/drill/NumberTexts.h"

namespace drill {

int TextLength(const std::string& utf8) {
    int length = 0;
    for (unsigned char c : utf8) length += (c & 0xC0) != 0x80 ? 1 : 0;
    return length;
}

}  // namespace drill
