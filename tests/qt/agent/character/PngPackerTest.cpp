#include "core/character/CharacterDocument.h"
#include "qt/agent/character/CharacterFormat.h"
#include "qt/agent/character/CharacterPacker.h"
#include "qt/agent/character/PngPacker.h"

#include "QtTestApp.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

using namespace agent::character;

const QString kManifest = QStringLiteral(TVX_CHARACTER_SOURCES "/peedy.json");

// The Windows file holds the Linux file's character, each frame drawn with soft edges: the layered
// window needs partial alpha, and an all-clear or hard-edged picture would mean a broken drawing.
TEST(PngPacker, DrawsEveryFrameOfTheLinuxFileWithSoftEdges) {
    const QByteArray png = packCharacterPng(kManifest);
    const CharacterDocument windows =
        parseCharacterDocument(std::string_view(png.constData(), png.size()), "peedy", FrameKind::Png);
    const CharacterData linux = decodeCharacter(packCharacter(kManifest), QStringLiteral("peedy"));
    EXPECT_EQ(windows.width, linux.size.width());
    EXPECT_EQ(windows.beakY, linux.beak.y());
    EXPECT_EQ(windows.animations.size(), linux.animations.size());
    EXPECT_EQ(windows.frames.size(), linux.frames.size());
    for (const auto& [name, bytes] : windows.frames) {
        const QImage image = QImage::fromData(QByteArray::fromStdString(bytes), "PNG");
        ASSERT_EQ(image.size(), linux.size) << name;
        int visible = 0;
        int partial = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int a = qAlpha(image.pixel(x, y));
                visible += a > 0;
                partial += a > 0 && a < 255;
            }
        EXPECT_GT(visible, image.width() * image.height() / 10) << name;
        EXPECT_GT(partial, 20) << name;
    }
}

}  // namespace
