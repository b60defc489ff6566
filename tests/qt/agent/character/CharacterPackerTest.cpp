#include "qt/agent/character/CharacterFormat.h"
#include "qt/agent/character/CharacterPacker.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using agent::character::decodeCharacter;
using agent::character::FormatFault;
using agent::character::packCharacter;
using ::testing::HasSubstr;

const QString kSources = QStringLiteral(TVX_CHARACTER_SOURCES);

std::string packFault(const QString& manifest) {
    try {
        packCharacter(manifest);
    } catch (const FormatFault& f) {
        return f.what.toStdString();
    }
    return "(packed without complaint)";
}

TEST(CharacterPacker, PacksOurArtworkIntoAFileTheProgramAccepts) {
    const QByteArray packed = packCharacter(kSources + QStringLiteral("/peedy.json"));
    const auto data = decodeCharacter(packed, QStringLiteral("peedy"));
    QFile idle(kSources + QStringLiteral("/idle.svg"));
    ASSERT_TRUE(idle.open(QIODevice::ReadOnly));
    // The frame's SVG text travels unchanged.
    EXPECT_EQ(data.frames.at(QStringLiteral("idle")), idle.readAll());
    EXPECT_EQ(data.beakFrames.size(), 4u);
}

class BrokenManifest : public ::testing::Test {
protected:
    // A copy of our manifest with one frame pointing at a file holding svg.
    QString manifestWithFrame(const QByteArray& svg, const QString& fileName = QStringLiteral("frame.svg")) {
        QFile source(kSources + QStringLiteral("/peedy.json"));
        EXPECT_TRUE(source.open(QIODevice::ReadOnly));
        QJsonObject root = QJsonDocument::fromJson(source.readAll()).object();
        QJsonObject frames = root["frames"].toObject();
        for (auto it = frames.begin(); it != frames.end(); ++it)
            it.value() = kSources + QLatin1Char('/') + it.value().toString();
        frames["idle"] = fileName;
        root["frames"] = frames;
        if (!svg.isNull()) writeFile(fileName, svg);
        return writeFile(QStringLiteral("manifest.json"), QJsonDocument(root).toJson());
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QTemporaryDir dir;
};

TEST_F(BrokenManifest, RefusesFramesThatAreNotSvgDocuments) {
    EXPECT_THAT(packFault(manifestWithFrame(QByteArray(), QStringLiteral("missing.svg"))),
                HasSubstr("frame \"idle\" names no existing SVG file (\"missing.svg\")"));
    EXPECT_THAT(packFault(manifestWithFrame("<svg xmlns='http://www.w3.org/2000/svg'><g></svg>")),
                HasSubstr("is not well-formed XML"));
    EXPECT_THAT(packFault(manifestWithFrame("<html><body/></html>")), HasSubstr("is not an SVG document"));
    EXPECT_THAT(packFault(manifestWithFrame("  ")), HasSubstr("is not well-formed XML"));
}

TEST_F(BrokenManifest, RefusesWhatTheProgramWouldRefuse) {
    const QString manifest = writeFile(QStringLiteral("bad.json"), "{\"format\": \"tallyvox-character\"}");
    EXPECT_THAT(packFault(manifest), HasSubstr("format version"));
    EXPECT_THAT(packFault(writeFile(QStringLiteral("junk.json"), "{ nope")),
                HasSubstr("is not a JSON object"));
}

}  // namespace
