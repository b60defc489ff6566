// tvx_pack_character MANIFEST OUTPUT: packs the character's SVG frames into one character file.
// tvx_pack_character --png MANIFEST OUTPUT: the Windows drill's file, the same frames drawn as PNG.
// tvx_pack_character --check FILE: exit 0 if the drill's checks accept FILE as the character "peedy".

#include "qt/agent/character/CharacterCheck.h"
#include "qt/agent/character/CharacterPacker.h"
#include "qt/agent/character/PngPacker.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    // Drawing needs a GUI application, never a display: this runs in builds without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--check")) {
        QFile file(args[2]);
        if (!file.open(QIODevice::ReadOnly) || file.size() > agent::character::kMaxFileBytes) return 1;
        try {
            agent::character::decodeDrawableCharacter(file.readAll(), QStringLiteral("peedy"));
        } catch (const agent::character::FormatFault& f) {
            std::fprintf(stderr, "%s\n", qPrintable(f.what));
            return 1;
        }
        return 0;
    }
    const bool png = args.size() == 4 && args[1] == QLatin1String("--png");
    if (png) args.removeAt(1);
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tvx_pack_character [--png] MANIFEST OUTPUT | --check FILE\n");
        return 2;
    }
    try {
        const QByteArray packed =
            png ? agent::character::packCharacterPng(args[1]) : agent::character::packCharacter(args[1]);
        // Written whole or not at all, so a failed build never leaves a half file behind.
        QSaveFile out(args[2]);
        if (!out.open(QIODevice::WriteOnly) || out.write(packed) != packed.size() || !out.commit()) {
            std::fprintf(stderr, "tvx_pack_character: cannot write %s: %s\n", qPrintable(args[2]),
                         qPrintable(out.errorString()));
            return 1;
        }
    } catch (const agent::character::FormatFault& f) {
        std::fprintf(stderr, "tvx_pack_character: %s: %s\n", qPrintable(args[1]), qPrintable(f.what));
        return 1;
    }
    return 0;
}
