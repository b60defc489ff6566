#include "qt/agent/character/CharacterCheck.h"

#include "qt/ui/PlainText.h"

#include <QCryptographicHash>
#include <QSvgRenderer>

namespace agent::character {

CharacterData decodeDrawableCharacter(const QByteArray& bytes, const QString& expectedId) {
    CharacterData data = decodeCharacter(bytes, expectedId);
    for (const auto& [name, svg] : data.frames) {
        const QSvgRenderer renderer(svg);
        if (!renderer.isValid())
            throw FormatFault{
                QStringLiteral("frame %1 is not a drawable SVG image").arg(ui::quotedExcerpt(name))};
    }
    return data;
}

QByteArray characterFingerprint(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

}  // namespace agent::character
