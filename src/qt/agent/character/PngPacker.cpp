#include "qt/agent/character/PngPacker.h"

#include "core/character/CharacterDocument.h"
#include "core/character/PngFrame.h"
#include "qt/agent/character/CharacterFormat.h"
#include "qt/agent/character/CharacterPacker.h"

#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSvgRenderer>

namespace agent::character {

QByteArray packCharacterPng(const QString& manifestPath) {
    // The SVG file first, so the frames drawn are exactly those the Linux drill accepts.
    const QByteArray svgFile = packCharacter(manifestPath);
    const CharacterData data = decodeCharacter(svgFile, QJsonDocument::fromJson(svgFile)["id"].toString());
    QJsonObject root = QJsonDocument::fromJson(svgFile).object();
    QJsonObject frames;
    for (const auto& [name, svg] : data.frames) {
        QImage image(data.size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer(svg).render(&painter);
        painter.end();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            throw FormatFault{QStringLiteral("frame \"%1\" could not be written as PNG").arg(name)};
        frames.insert(name, QString::fromLatin1(png.toBase64()));
    }
    root.insert(QLatin1String(kFrameTypeKey), QLatin1String(kPngFrameType));
    root.insert(QLatin1String("frames"), frames);
    const QByteArray packed = QJsonDocument(root).toJson(QJsonDocument::Compact);
    if (packed.size() > kMaxFileBytes)
        throw FormatFault{QStringLiteral("the packed character exceeds the size limit")};
    try {
        parseCharacterDocument(std::string_view(packed.constData(), static_cast<std::size_t>(packed.size())),
                               data.id.toStdString(), FrameKind::Png);
    } catch (const DocumentFault& f) {
        throw FormatFault{QString::fromStdString(f.what)};
    }
    return packed;
}

}  // namespace agent::character
