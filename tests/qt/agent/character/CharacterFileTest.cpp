#include "core/agent/AgentApi.h"
#include "qt/agent/character/CharacterCheck.h"
#include "qt/agent/character/CharacterFile.h"

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

#include <chrono>
#include <csignal>
#include <functional>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A pipe gives no size: it is read to its end in pieces, and refused once past the limit.
TEST_F(CharacterFileTest, PipeIsReadToItsEndButNeverPastTheLimit) {
    const QByteArray document = QJsonDocument(validDocument()).toJson();
    // A reader that stops early fails the writer's write instead of ending the test binary.
    std::signal(SIGPIPE, SIG_IGN);
    for (const qsizetype total : {document.size() + 200 * 1024, qsizetype(8 * 1024 * 1024 + 1)}) {
        const QString path = dir.filePath(QStringLiteral("pipe.acs"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        std::thread writer([&] {
            QFile pipe(path);
            if (pipe.open(QIODevice::WriteOnly))
                pipe.write(document + QByteArray(total - document.size(), ' '));
        });
        if (total <= 8 * 1024 * 1024)
            EXPECT_NO_THROW(loadCharacterFile(path, QStringLiteral("peedy")));
        else
            expectFault(path, "larger than 8 MiB");
        // Frees the writer, had the load never opened the pipe.
        if (const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK); fd >= 0)
            ::close(fd);
        writer.join();
        QFile::remove(path);
    }
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
        Fault{"VersionAsText", [](QJsonObject& d) { d["version"] = "1"; }, "format version \"1\" (text);"},
        Fault{"VersionNearlyOne", [](QJsonObject& d) { d["version"] = 1.0000001; },
              "format version 1.0000001;"},
        Fault{"VersionMissing", [](QJsonObject& d) { d.remove("version"); }, "format version (none);"},
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
        Fault{"FrameNotXml", [](QJsonObject& d) { setFrame(d, "b2", "<svg><g></svg"); },
              "frame \"b2\" is not well-formed XML (line 1: Premature end of document.)"},
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

QString svgFrame(const QString& body, const QString& head = {}) {
    return head +
           QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" )"
                          R"(xmlns:xlink="http://www.w3.org/1999/xlink" width="32" height="32">)") +
           body + QStringLiteral("</svg>");
}

// <use> fanned out tenfold at every level: tiny as text, a billion elements once followed.
QString fannedOut(int levels) {
    QString defs = QStringLiteral(R"(<g id="l0"><rect width="1" height="1"/></g>)");
    for (int i = 1; i < levels; ++i) {
        defs += QStringLiteral(R"(<g id="l%1">)").arg(i);
        for (int k = 0; k < 10; ++k) defs += QStringLiteral(R"(<use xlink:href="#l%1"/>)").arg(i - 1);
        defs += QStringLiteral("</g>");
    }
    return svgFrame(QStringLiteral("<defs>") + defs +
                    QStringLiteral(R"(</defs><use xlink:href="#l%1"/>)").arg(levels - 1));
}

QJsonObject manyFrames(int count) {
    QJsonObject frames;
    for (const char* name : {"rest", "shut", "b1", "b2", "b3"}) frames.insert(name, kSquare);
    for (int i = 0; frames.size() < count; ++i) frames.insert(QStringLiteral("extra%1").arg(i), kSquare);
    return frames;
}

// What one file may make the program draw and hold.
INSTANTIATE_TEST_SUITE_P(
    Budget, DocumentFaultTest,
    ::testing::Values(
        Fault{"TooManyFrames", [](QJsonObject& d) { d["frames"] = manyFrames(257); },
              "it has 257 frames; at most 256 are allowed"},
        Fault{"FramesTooLarge",
              [](QJsonObject& d) {
                  d["size"] = QJsonObject{{"width", 1024}, {"height", 1024}};
              },
              "size \"width\" must be a whole number from 16 to 512, not 1024"},
        Fault{"UseFannedOut", [](QJsonObject& d) { setFrame(d, "b2", fannedOut(9)); },
              "frame \"b2\" is too costly to draw"},
        Fault{"UseInACircle",
              [](QJsonObject& d) {
                  setFrame(
                      d, "b2",
                      svgFrame(
                          R"(<g id="a"><use xlink:href="#b"/></g><g id="b"><use xlink:href="#a"/></g>)"));
              },
              "frame \"b2\" links <use> elements more than 128 deep or in a circle"},
        Fault{"NestedTooDeep",
              [](QJsonObject& d) {
                  setFrame(
                      d, "b2",
                      svgFrame(QStringLiteral("<g>").repeated(200) + QStringLiteral("</g>").repeated(200)));
              },
              "frame \"b2\" nests elements more than 64 deep"},
        Fault{"PathTooLong",
              [](QJsonObject& d) {
                  QString path = QStringLiteral("M0 0");
                  for (int k = 0; k < 700; ++k)
                      path += QStringLiteral("L%1 %2").arg(k * 37 % 32).arg(k * 91 % 32);
                  setFrame(d, "b2", svgFrame(QStringLiteral(R"(<path stroke="#000" d="%1"/>)").arg(path)));
              },
              "frame \"b2\" is too costly to draw"},
        Fault{"TextTooLong",
              [](QJsonObject& d) {
                  setFrame(d, "b2",
                           svgFrame(QStringLiteral("<text><tspan>%1</tspan></text>")
                                        .arg(QString(1300, QLatin1Char('W')))));
              },
              "frame \"b2\" is too costly to draw"},
        Fault{"TooManyElements",
              [](QJsonObject& d) { setFrame(d, "b2", svgFrame(QStringLiteral("<g/>").repeated(20001))); },
              "frame \"b2\" has more than 20000 elements"}),
    [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

// Nothing a frame names may lie outside the file.
INSTANTIATE_TEST_SUITE_P(
    OutsideReferences, DocumentFaultTest,
    ::testing::Values(
        Fault{"ImageFile",
              [](QJsonObject& d) {
                  setFrame(d, "b2", svgFrame(R"(<image xlink:href="/etc/passwd" width="9" height="9"/>)"));
              },
              "frame \"b2\" draws a picture from outside its own drawing (<image>)"},
        Fault{"ImageUrl",
              [](QJsonObject& d) {
                  setFrame(d, "b2", svgFrame(R"(<image xlink:href="http://example.invalid/a.png"/>)"));
              },
              "frame \"b2\" draws a picture from outside its own drawing (<image>)"},
        Fault{"UseOfAnotherFile",
              [](QJsonObject& d) { setFrame(d, "b2", svgFrame(R"(<use xlink:href="other.svg#shape"/>)")); },
              "frame \"b2\" refers to \"other.svg#shape\" outside the document in <use>"},
        Fault{"PlainHref",
              [](QJsonObject& d) { setFrame(d, "b2", svgFrame(R"(<use href="/tmp/x.svg#a"/>)")); },
              "refers to \"/tmp/x.svg#a\" outside the document in <use>"},
        Fault{"FillFromAnotherFile",
              [](QJsonObject& d) {
                  setFrame(d, "b2",
                           svgFrame(R"svg(<rect width="9" height="9" fill="url( '/tmp/p.svg#g')"/>)svg"));
              },
              "refers to \"/tmp/p.svg#g\" outside the document in <rect>"},
        Fault{"StyleAttributeUrl",
              [](QJsonObject& d) {
                  setFrame(d, "b2",
                           svgFrame(R"svg(<rect style="fill:URL(http://x/y)" width="9" height="9"/>)svg"));
              },
              "refers to \"http://x/y\" outside the document in <rect>"},
        Fault{"StylesheetImport",
              [](QJsonObject& d) {
                  setFrame(d, "b2", svgFrame(R"(<style>@import url("/tmp/a.css");</style>)"));
              },
              "frame \"b2\" imports a stylesheet (@import) in <style>"},
        Fault{"StyleEscapes",
              [](QJsonObject& d) {
                  setFrame(d, "b2", svgFrame(R"(<style>rect { fill: \75rl(/tmp/a) }</style>)"));
              },
              "has a backslash escape in the style of <style>"},
        Fault{"StylesheetInstruction",
              [](QJsonObject& d) {
                  setFrame(d, "b2", svgFrame({}, R"(<?xml-stylesheet href="/tmp/a.css" type="text/css"?>)"));
              },
              "frame \"b2\" has the processing instruction <?xml-stylesheet?>"},
        Fault{"ExternalEntity",
              [](QJsonObject& d) {
                  setFrame(
                      d, "b2",
                      svgFrame("<text>&e;</text>", R"(<!DOCTYPE svg [<!ENTITY e SYSTEM "/etc/passwd">]>)"));
              },
              "frame \"b2\" has a document type declaration (<!DOCTYPE>)"}),
    [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

// Numbers far outside any range are refused before anything converts them; text from the file
// is quoted short and escaped, and says what was really found.
INSTANTIATE_TEST_SUITE_P(
    NumbersAndWording, DocumentFaultTest,
    ::testing::Values(
        Fault{"HugeWidth",
              [](QJsonObject& d) {
                  d["size"] = QJsonObject{{"width", 1e308}, {"height", 32}};
              },
              "size \"width\" must be a whole number from 16 to 512, not 1e+308"},
        Fault{"HugeNegativeBeak",
              [](QJsonObject& d) {
                  d["beak"] = QJsonObject{{"x", -1e308}, {"y", 0}};
              },
              "beak \"x\" must be a whole number from 0 to 31, not -1e+308"},
        Fault{"HugeStep",
              [](QJsonObject& d) {
                  setAnimation(d, "idle", QJsonArray{QJsonObject{{"frame", "rest"}, {"ms", 1e308}}});
              },
              "step \"ms\" must be a whole number from 1 to 60000, not 1e+308"},
        Fault{"WidthAsText",
              [](QJsonObject& d) {
                  d["size"] = QJsonObject{{"width", "32"}, {"height", 32}};
              },
              "must be a whole number from 16 to 512, not \"32\" (text)"},
        Fault{"NulInId", [](QJsonObject& d) { d["id"] = QString::fromUtf16(u"pee\u0000dy", 6); },
              "holds the character \"pee\\0dy\", not \"peedy\""},
        Fault{"MarkupInId",
              [](QJsonObject& d) {
                  d["id"] =
                      QStringLiteral("<b>BIG</b><img src=\"/tmp/f\">") + QString(5000, QLatin1Char('x'));
              },
              "holds the character \"<b>BIG</b><img src=\"/tmp/f\">xxx"}),
    [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

TEST_F(CharacterFileTest, QuotedFileTextIsCutShort) {
    QJsonObject doc = validDocument();
    doc["id"] = QString(100000, QLatin1Char('\n'));
    try {
        loadCharacterFile(writeDocument(doc), QStringLiteral("peedy"));
        ADD_FAILURE() << "loaded";
    } catch (const agent::AgentError& e) {
        const QString message = QString::fromUtf8(e.what());
        EXPECT_LT(message.size(), 200 + dir.path().size()) << e.what();
        EXPECT_FALSE(message.contains(QLatin1Char('\n')));
        EXPECT_TRUE(message.contains(QStringLiteral("\\n\\n…\"")));
    }
}

TEST_F(CharacterFileTest, LargestAllowedFileLoadsAndShortStepsAreLengthened) {
    QJsonObject doc = validDocument();
    doc["frames"] = manyFrames(256);
    doc["size"] = QJsonObject{{"width", 512}, {"height", 512}};
    setAnimation(doc, "idle", QJsonArray{step("rest", 1), step("b1", 19), step("b2", 20), step("b3", 21)});
    const CharacterData data = loadCharacterFile(writeDocument(doc), QStringLiteral("peedy"));
    EXPECT_EQ(data.frames.size(), 256u);
    std::vector<int> ms;
    for (const auto& s : data.animations.at("idle")) ms.push_back(s.ms);
    EXPECT_EQ(ms, (std::vector<int>{20, 20, 20, 21}));
}

// Only the bytes the build checked in full skip the frame checks; the document's own checks always run.
TEST_F(CharacterFileTest, CheckedFingerprintSkipsOnlyTheFrameChecksOfThoseBytes) {
    QJsonObject doc = validDocument();
    setFrame(doc, "b2", svgFrame(QStringLiteral(R"(<use xlink:href="other.svg#shape"/>)")));
    const QByteArray outsideLink = QJsonDocument(doc).toJson();
    doc["id"] = QStringLiteral("pee");
    const QByteArray wrongId = QJsonDocument(doc).toJson();
    const QByteArray valid = QJsonDocument(validDocument()).toJson();
    using agent::character::characterFingerprint;
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray fingerprint;
        const char* fault;  // nullptr: loads
    };
    for (const Case& c :
         {Case{"its own fingerprint", outsideLink, characterFingerprint(outsideLink), nullptr},
          Case{"another file's", outsideLink, characterFingerprint(valid), "outside the document"},
          Case{"none", outsideLink, {}, "outside the document"},
          Case{"document fault", wrongId, characterFingerprint(wrongId), "not \"peedy\""}}) {
        SCOPED_TRACE(c.name);
        try {
            const CharacterData data =
                loadCharacterFile(write(c.bytes), QStringLiteral("peedy"), c.fingerprint);
            EXPECT_EQ(c.fault, nullptr);
            EXPECT_EQ(data.frames.size(), 5u);
        } catch (const agent::AgentError& e) {
            ASSERT_NE(c.fault, nullptr) << e.what();
            EXPECT_THAT(e.what(), HasSubstr(c.fault));
        }
    }
}

// The program used to open whatever <image> named while checking the file: a FIFO with no writer
// blocked start-up for ever. The check must refuse it without opening it.
TEST_F(CharacterFileTest, ImageNamingAFifoIsRefusedWithoutOpeningIt) {
    const QByteArray fifo = dir.filePath(QStringLiteral("fifo")).toUtf8();
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    QJsonObject doc = validDocument();
    setFrame(
        doc, "b2",
        svgFrame(
            QStringLiteral(R"(<image xlink:href="%1" width="9" height="9"/>)").arg(QString::fromUtf8(fifo))));
    const QString path = writeDocument(doc);
    auto load = std::async(std::launch::async, [&] { expectFault(path, "(<image>)"); });
    if (load.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "loading blocked on the FIFO";
        // Release the reader so the test can end.
        const int fd = ::open(fifo.constData(), O_WRONLY);
        if (fd >= 0) ::close(fd);
    }
    load.wait();
}

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
