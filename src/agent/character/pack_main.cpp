// tvx_pack_character MANIFEST OUTPUT: packs the character's SVG frames into one character file.

#include "agent/character/CharacterFormat.h"
#include "agent/character/CharacterPacker.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tvx_pack_character MANIFEST OUTPUT\n");
        return 2;
    }
    try {
        const QByteArray packed = agent::character::packCharacter(args[1]);
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
