#include "win32/drill/DrillTexts.h"

#ifndef TVX_VERSION_MAJOR
#error "the build passes the project version"
#endif

namespace win32::drill {

std::string explanationText() {
    return "日本語の位取りは万、億、兆なのに対して、\r\n"
           "英語の位取りは千、百万、十億、兆なので、\r\n"
           "一万、十万、千万、一億、十億、百億、千億が苦手？";
}

std::string versionMenuCaption() {
    return std::string(132, ' ') + "(バージョン" + std::to_string(TVX_VERSION_MAJOR) + "." +
           std::to_string(TVX_VERSION_MINOR) + "." + std::to_string(TVX_VERSION_PATCH) + " )";
}

// Credits what the Windows program really uses: its own parrot and the voices of Windows.
std::string aboutText() {
    return "1. Tallyvox-Number speaks with the SAPI 5 voices installed in Windows.\r\n"
           "2. Tallyvox-Number uses its own character Peedy, a parrot drawn for this program.\r\n"
           "   Peedy : (c) the Tallyvox-Number authors.";
}

std::string startupFailureText(const std::string& detail) {
    return "Tallyvox-Number を起動できませんでした。\r\n"
           "キャラクターファイル PEEDY.acs がプログラムと同じフォルダーにあるか確かめてください。\r\n\r\n"
           "詳しい情報:\r\n" +
           detail;
}

}  // namespace win32::drill
