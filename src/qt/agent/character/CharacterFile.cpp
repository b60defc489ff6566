#include "qt/agent/character/CharacterFile.h"

#include "core/agent/AgentApi.h"
#include "qt/ui/PlainText.h"

#include <QFile>
#include <QFileInfo>
#include <QSvgRenderer>

namespace agent::character {
namespace {

[[noreturn]] void fail(const QString& path, const QString& what) {
    throw AgentError(characterFileFault(path, what).toStdString());
}

QByteArray readBounded(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) fail(path, QStringLiteral("the file does not exist"));
    if (info.isDir()) fail(path, QStringLiteral("it is a folder, not a file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, QStringLiteral("it cannot be read (%1)").arg(file.errorString()));
    const auto tooLarge = [&] {
        fail(path, QStringLiteral("it is larger than %1 MiB").arg(kMaxFileBytes / (1024 * 1024)));
    };
    if (file.size() > kMaxFileBytes) tooLarge();
    // The size may have been wrong (a pipe, a growing file); never read past the limit.
    QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) tooLarge();
    if (file.error() != QFileDevice::NoError)
        fail(path, QStringLiteral("it cannot be read (%1)").arg(file.errorString()));
    return bytes;
}

}  // namespace

QString characterFileFault(const QString& path, const QString& what) {
    return QStringLiteral("The character file \"%1\" cannot be used: %2.").arg(path, what);
}

CharacterData loadCharacterFile(const QString& path, const QString& expectedId) {
    const QByteArray bytes = readBounded(path);
    CharacterData data;
    try {
        data = decodeCharacter(bytes, expectedId);
    } catch (const FormatFault& f) {
        fail(path, f.what);
    }
    for (const auto& [name, svg] : data.frames) {
        QSvgRenderer renderer(svg);
        if (!renderer.isValid())
            fail(path, QStringLiteral("frame %1 is not a drawable SVG image").arg(ui::quotedExcerpt(name)));
    }
    return data;
}

}  // namespace agent::character
