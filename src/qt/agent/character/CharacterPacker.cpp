#include "qt/agent/character/CharacterPacker.h"

#include "qt/agent/character/CharacterFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QXmlStreamReader>

namespace agent::character {
namespace {

[[noreturn]] void fault(const QString& what) {
    throw FormatFault{what};
}

QByteArray readFile(const QString& path, const QString& what) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fault(QStringLiteral("%1 \"%2\" cannot be read (%3)").arg(what, path, file.errorString()));
    return file.readAll();
}

// Qt Core cannot draw SVG, but it can at least refuse a file that is not an SVG document.
void checkSvgDocument(const QByteArray& svg, const QString& path) {
    QXmlStreamReader xml(svg);
    bool rootSeen = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && !rootSeen) {
            rootSeen = true;
            if (xml.name() != QLatin1String("svg"))
                fault(QStringLiteral("\"%1\" is not an SVG document (root <%2>)").arg(path, xml.name()));
        }
    }
    if (xml.hasError())
        fault(QStringLiteral("\"%1\" is not well-formed XML (line %2: %3)")
                  .arg(path)
                  .arg(xml.lineNumber())
                  .arg(xml.errorString()));
}

}  // namespace

QByteArray packCharacter(const QString& manifestPath) {
    QJsonParseError error{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(readFile(manifestPath, QStringLiteral("the manifest")), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        fault(QStringLiteral("the manifest \"%1\" is not a JSON object (%2 at byte %3)")
                  .arg(manifestPath, error.errorString())
                  .arg(error.offset));
    QJsonObject root = doc.object();
    const QDir base = QFileInfo(manifestPath).absoluteDir();
    QJsonObject frames = root.value(QLatin1String("frames")).toObject();
    for (auto it = frames.begin(); it != frames.end(); ++it) {
        const QString file = base.filePath(it.value().toString());
        if (it.value().toString().isEmpty() || !QFileInfo(file).isFile())
            fault(QStringLiteral("frame \"%1\" names no existing SVG file (\"%2\")")
                      .arg(it.key(), it.value().toString()));
        const QByteArray svg = readFile(file, QStringLiteral("the frame file"));
        checkSvgDocument(svg, file);
        it.value() = QString::fromUtf8(svg);
    }
    root.insert(QLatin1String("frames"), frames);
    QByteArray packed = QJsonDocument(root).toJson(QJsonDocument::Compact);
    if (packed.size() > kMaxFileBytes) fault(QStringLiteral("the packed character exceeds the size limit"));
    decodeCharacter(packed, root.value(QLatin1String("id")).toString());
    return packed;
}

}  // namespace agent::character
