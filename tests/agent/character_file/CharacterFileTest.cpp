#include "agent/AgentApi.h"
#include "agent/character/CharacterFile.h"

#include "QtTestApp.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace {

using agent::character::CharacterData;
using agent::character::loadCharacterFile;
using ::testing::HasSubstr;

const char* kSquare = R"(<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32">)"
                      R"(<rect width="32" height="32" fill="#3a3"/></svg>)";

QJsonObject step(const char* frame, int ms) {
    return {{"frame", frame}, {"ms", ms}};
}

// The smallest file the program accepts; each fault below breaks one thing in it.
QJsonObject validDocument() {
    QJsonObject frames;
    for (const char* name : {"rest", "shut", "b1", "b2", "b3"}) frames.insert(name, kSquare);
    return {{"format", "tallyvox-character"},
            {"version", 1},
            {"id", "peedy"},
            {"size", QJsonObject{{"width", 32}, {"height", 32}}},
            {"beak", QJsonObject{{"x", 20}, {"y", 10}}},
            {"frames", frames},
            {"animations", QJsonObject{{"idle", QJsonArray{step("rest", 1000)}},
                                       {"blink", QJsonArray{step("shut", 80)}},
                                       {"show", QJsonArray{step("b1", 50), step("rest", 50)}}}},
            {"beakFrames", QJsonArray{"rest", "b1", "b2", "b3"}}};
}

class CharacterFileTest : public ::testing::Test {
protected:
    QString write(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("PEEDY.acs"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString writeDocument(const QJsonObject& doc) { return write(QJsonDocument(doc).toJson()); }

    // Loads path, expecting exactly one failure whose message names the file and the fault.
    void expectFault(const QString& path, const std::string& fault) {
        try {
            loadCharacterFile(path, QStringLiteral("peedy"));
            ADD_FAILURE() << "loaded a broken file; expected: " << fault;
        } catch (const agent::AgentError& e) {
            const std::string message = e.what();
            EXPECT_THAT(message, HasSubstr("\"" + path.toStdString() + "\"")) << message;
            EXPECT_THAT(message, HasSubstr(fault)) << message;
        }
    }

    QTemporaryDir dir;
};

TEST_F(CharacterFileTest, ValidFileLoadsEverything) {
    const CharacterData data = loadCharacterFile(writeDocument(validDocument()), QStringLiteral("PEEDY"));
    EXPECT_EQ(data.id, QStringLiteral("peedy"));
    EXPECT_EQ(data.size, QSize(32, 32));
    EXPECT_EQ(data.beak, QPoint(20, 10));
    EXPECT_EQ(data.frames.size(), 5u);
    ASSERT_EQ(data.animations.at("show").size(), 2u);
    EXPECT_EQ(data.animations.at("show")[0].frame, QStringLiteral("b1"));
    EXPECT_EQ(data.animations.at("show")[0].ms, 50);
    EXPECT_EQ(data.beakFrames, (std::vector<QString>{"rest", "b1", "b2", "b3"}));
}

TEST_F(CharacterFileTest, FileSystemFaults) {
    expectFault(dir.filePath(QStringLiteral("absent.acs")), "does not exist");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.acs")));
    expectFault(dir.filePath(QStringLiteral("folder.acs")), "is a folder");

    const QString big = dir.filePath(QStringLiteral("big.acs"));
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(8 * 1024 * 1024 + 1));
    file.close();
    expectFault(big, "larger than 8 MiB");
}

TEST_F(CharacterFileTest, FileOfExactlyTheLimitIsNotRejectedForSize) {
    QByteArray bytes = QJsonDocument(validDocument()).toJson();
    bytes.append(QByteArray(8 * 1024 * 1024 - bytes.size(), ' '));
    EXPECT_NO_THROW(loadCharacterFile(write(bytes), QStringLiteral("peedy")));
}

TEST_F(CharacterFileTest, NotACharacterDocument) {
    expectFault(write("{\"format\": \"tallyvox-character\", "), "is not valid JSON");
    expectFault(write("[1, 2]"), "not a JSON object");
    expectFault(write("{}"), "not a tallyvox-character file");
}

struct Fault {
    const char* name;
    std::function<void(QJsonObject&)> breakIt;
    std::string message;
};

class DocumentFaultTest : public CharacterFileTest, public ::testing::WithParamInterface<Fault> {};

TEST_P(DocumentFaultTest, GivesOneClearMessage) {
    QJsonObject doc = validDocument();
    GetParam().breakIt(doc);
    expectFault(writeDocument(doc), GetParam().message);
}

void setAnimation(QJsonObject& doc, const char* name, const QJsonValue& steps) {
    QJsonObject animations = doc["animations"].toObject();
    if (steps.isUndefined())
        animations.remove(name);
    else
        animations[name] = steps;
    doc["animations"] = animations;
}

void setFrame(QJsonObject& doc, const char* name, const QJsonValue& svg) {
    QJsonObject frames = doc["frames"].toObject();
    frames[name] = svg;
    doc["frames"] = frames;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DocumentFaultTest,
    ::testing::Values(
        Fault{"WrongFormat", [](QJsonObject& d) { d["format"] = "agent-character"; },
              "not a tallyvox-character file (format \"agent-character\")"},
        Fault{"NoFormat", [](QJsonObject& d) { d.remove("format"); }, "not a tallyvox-character file"},
        Fault{"NewerVersion", [](QJsonObject& d) { d["version"] = 2; }, "format version 2"},
        Fault{"VersionAsText", [](QJsonObject& d) { d["version"] = "1"; }, "format version (none)"},
        Fault{"NoId", [](QJsonObject& d) { d.remove("id"); }, "names no character id"},
        Fault{"OtherCharacter", [](QJsonObject& d) { d["id"] = "polly"; },
              "holds the character \"polly\", not \"peedy\""},
        Fault{"NoSize", [](QJsonObject& d) { d.remove("size"); }, "no \"size\" entry"},
        Fault{"FractionalWidth",
              [](QJsonObject& d) {
                  d["size"] = QJsonObject{{"width", 32.5}, {"height", 32}};
              },
              "size \"width\" must be a whole number"},
        Fault{"BeakOutside",
              [](QJsonObject& d) {
                  d["beak"] = QJsonObject{{"x", 32}, {"y", 0}};
              },
              "beak \"x\" must be a whole number from 0 to 31"},
        Fault{"NoFrames", [](QJsonObject& d) { d["frames"] = QJsonObject{}; }, "has no frames"},
        Fault{"FrameNotText", [](QJsonObject& d) { setFrame(d, "b3", 7); }, "frame \"b3\" holds no SVG text"},
        Fault{"FrameDoesNotRender", [](QJsonObject& d) { setFrame(d, "b2", "<svg><g></svg"); },
              "frame \"b2\" is not a drawable SVG image"},
        Fault{"NoIdle", [](QJsonObject& d) { setAnimation(d, "idle", QJsonValue::Undefined); },
              "lacks the required animation \"idle\""},
        Fault{"NoBlink", [](QJsonObject& d) { setAnimation(d, "blink", QJsonValue::Undefined); },
              "lacks the required animation \"blink\""},
        Fault{"NoShow", [](QJsonObject& d) { setAnimation(d, "show", QJsonValue::Undefined); },
              "lacks the required animation \"show\""},
        Fault{"EmptyAnimation", [](QJsonObject& d) { setAnimation(d, "blink", QJsonArray{}); },
              "animation \"blink\" is not a non-empty list"},
        Fault{"UnknownFrame",
              [](QJsonObject& d) {
                  setAnimation(d, "show", QJsonArray{step("b1", 50), step("ghost", 50)});
              },
              "animation \"show\" names an unknown frame \"ghost\""},
        Fault{"ZeroDuration", [](QJsonObject& d) { setAnimation(d, "idle", QJsonArray{step("rest", 0)}); },
              "animation \"idle\" step \"ms\" must be a whole number from 1"},
        Fault{"ThreeBeakFrames",
              [](QJsonObject& d) {
                  d["beakFrames"] = QJsonArray{"rest", "b1", "b2"};
              },
              "\"beakFrames\" must list at least 4 frames"},
        Fault{"UnknownBeakFrame",
              [](QJsonObject& d) {
                  d["beakFrames"] = QJsonArray{"rest", "b1", "b2", "wide"};
              },
              "\"beakFrames\" names an unknown frame \"wide\""}),
    [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

// The file the build packs from our own artwork: it loads, and every frame draws something.
TEST(PackedCharacterFile, LoadsAndEveryFrameRenders) {
    const CharacterData data = loadCharacterFile(QStringLiteral(TVX_CHARACTER_FILE), QStringLiteral("peedy"));
    EXPECT_EQ(data.id, QStringLiteral("peedy"));
    EXPECT_GE(data.beakFrames.size(), 4u);
    for (const char* animation : {"idle", "blink", "show"}) EXPECT_TRUE(data.animations.contains(animation));
    for (const auto& [name, svg] : data.frames) {
        QImage image(data.size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        QSvgRenderer(svg).render(&painter);
        painter.end();
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(opaque, image.width() * image.height() / 10) << "frame " << name.toStdString();
    }
}

}  // namespace
