#include "core/drill/StartupTexts.h"

#include <array>

namespace drill {

namespace {
constexpr std::array<const char*, 3> kExplanation = {
    "日本語の位取りは万、億、兆なのに対して、",
    "英語の位取りは千、百万、十億、兆なので、",
    "一万、十万、千万、一億、十億、百億、千億が苦手？",
};

std::string joined(const char* separator) {
    std::string out;
    for (const char* line : kExplanation) {
        if (!out.empty()) out += separator;
        out += line;
    }
    return out;
}
}  // namespace

std::string explanationText() {
    return joined("\r\n");
}

std::string explanationDesignText() {
    return joined("　");
}

std::string versionMenuDesignCaption() {
    return std::string(132, ' ') + "(バージョン";
}

std::string versionSuffix(int major, int minor, int revision) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision) + " )";
}

std::string copyrightMenuCaption() {
    return "◆ Copyright";
}

// Credits what the program really ships with: its own character and three free speech engines.
std::string aboutText() {
    return "1. Tallyvox-Number speaks with flite, eSpeak NG (GPL-3.0-or-later) and Open JTalk "
           "(BSD-3-Clause).\r\n"
           "   English voices slt and rms: flite, copyright (c) 1999-2001 Language Technologies "
           "Institute,\r\n"
           "   Carnegie Mellon University; by Alan W Black, David Huggins-Daines and others.\r\n"
           "2. Tallyvox-Number uses its own character Peedy, a parrot drawn for this program.\r\n"
           "   Japanese voice: HTS voice NIT ATR503 M001 (CC BY 3.0); dictionary: NAIST-jdic (BSD).";
}

std::string startupFailureText(const std::string& detail) {
    return "Tallyvox-Number を起動できませんでした。\n"
           "キャラクターファイル PEEDY.acs がプログラムと同じフォルダーにあるか確かめてください。\n\n"
           "詳しい情報:\n" +
           detail;
}

std::string characterCannotBePlacedText() {
    return "このデスクトップ（Wayland）では、キャラクターをウィンドウの左下に置くことができません。\n"
           "キャラクターはデスクトップが決めた場所に表示されます。";
}

}  // namespace drill
