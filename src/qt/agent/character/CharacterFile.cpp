#include "qt/agent/character/CharacterFile.h"

#include "core/agent/AgentApi.h"
#include "qt/agent/character/CharacterCheck.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

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
    // The size may have been wrong (a pipe, a growing file): read on to the end, never past the limit.
    // The first piece is the size the file gives: a buffer as large as the limit costs more than the read.
    QByteArray bytes;
    qint64 ask = file.size() + 1;
    for (;;) {
        const QByteArray piece = file.read(std::min(ask, kMaxFileBytes + 1 - bytes.size()));
        if (piece.isEmpty()) break;
        bytes += piece;
        if (bytes.size() > kMaxFileBytes) tooLarge();
        ask = kReadPieceBytes;
    }
    if (file.error() != QFileDevice::NoError)
        fail(path, QStringLiteral("it cannot be read (%1)").arg(file.errorString()));
    return bytes;
}

}  // namespace

QString characterFileFault(const QString& path, const QString& what) {
    return QStringLiteral("The character file \"%1\" cannot be used: %2.").arg(path, what);
}

CharacterData loadCharacterFile(const QString& path, const QString& expectedId,
                                const QByteArray& checkedFingerprint) {
    const QByteArray bytes = readBounded(path);
    try {
        // The frames' checks cost about 5 ms of the drill's start; the packed file passed them at build time.
        if (!checkedFingerprint.isEmpty() && characterFingerprint(bytes) == checkedFingerprint)
            return decodeCharacter(bytes, expectedId, FrameChecks::Skip);
        return decodeDrawableCharacter(bytes, expectedId);
    } catch (const FormatFault& f) {
        fail(path, f.what);
    }
}

}  // namespace agent::character
