// Feeds arbitrary bytes to the character file checks, then draws every frame of an accepted file:
// a crash, a leak, an input that hangs (-timeout) or one that swells memory (-rss_limit_mb) is a finding.

#include "qt/agent/character/CharacterFormat.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts for <text>: drawing needs a GUI application object.
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    agent::character::CharacterData character;
    try {
        character = agent::character::decodeCharacter(bytes, QStringLiteral("peedy"));
    } catch (const agent::character::FormatFault& fault) {
        if (fault.what.isEmpty()) std::abort();  // every refusal must say why
        return 0;
    }
    if (character.size.width() > agent::character::kMaxSide ||
        character.size.height() > agent::character::kMaxSide)
        std::abort();
    for (const auto& [name, steps] : character.animations)
        for (const auto& step : steps)
            if (step.ms < agent::character::kMinStepMs) std::abort();
    QImage image(character.size, QImage::Format_ARGB32_Premultiplied);
    for (const auto& [name, svg] : character.frames) {
        image.fill(Qt::transparent);
        QSvgRenderer renderer(svg);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(image.rect()));
    }
    return 0;
}
