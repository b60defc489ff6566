#include "drill/StartupTexts.h"

#include <QStringList>

namespace drill {

namespace {
const QStringList kExplanation = {
    QStringLiteral("日本語の位取りは万、億、兆なのに対して、"),
    QStringLiteral("英語の位取りは千、百万、十億、兆なので、"),
    QStringLiteral("一万、十万、千万、一億、十億、百億、千億が苦手？"),
};
}  // namespace

QString explanationText() { return kExplanation.join(QStringLiteral("\r\n")); }

QString explanationDesignText() { return kExplanation.join(QStringLiteral("　")); }

QString versionMenuDesignCaption() { return QString(132, QLatin1Char(' ')) + QStringLiteral("(バージョン"); }

QString versionSuffix(int major, int minor, int revision) {
    return QStringLiteral("%1.%2.%3 )").arg(major).arg(minor).arg(revision);
}

QString copyrightMenuCaption() { return QStringLiteral("◆ Copyright"); }

// Credits what the program really ships with: its own character and two free speech engines.
QString aboutText() {
    return QStringLiteral(
               "1. Tallyvox-Number speaks with flite, eSpeak NG (GPL-3.0-or-later) and Open JTalk (BSD-3-Clause).\r\n"
               "   English voices slt and rms: flite, copyright (c) 1999-2001 Language Technologies Institute,\r\n"
               "   Carnegie Mellon University; by Alan W Black, David Huggins-Daines and others.\r\n"
               "2. Tallyvox-Number uses its own character Peedy, a parrot drawn for this program.\r\n"
               "   Japanese voice: HTS voice NIT ATR503 M001 (CC BY 3.0); dictionary: NAIST-jdic (BSD).");
}

QString startupFailureText(const QString& detail) {
    return QStringLiteral(
               "Tallyvox-Number を起動できませんでした。\n"
               "キャラクターファイル PEEDY.acs がプログラムと同じフォルダーにあるか確かめてください。\n\n"
               "詳しい情報:\n") +
           detail;
}

QString characterCannotBePlacedText() {
    return QStringLiteral(
        "このデスクトップ（Wayland）では、キャラクターをウィンドウの左下に置くことができません。\n"
        "キャラクターはデスクトップが決めた場所に表示されます。");
}

} // namespace drill
