#pragma once

// The character file: one UTF-8 JSON document holding a character's frames (SVG text),
// its animations and which frames show the beak opening. Qt Core only, so the build-time
// packer checks exactly what the program will accept.

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>

#include <map>
#include <vector>

namespace agent::character {

inline constexpr char kFormatName[] = "tallyvox-character";
inline constexpr int kFormatVersion = 1;
inline constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;
// What one file may ask the program to draw: frames are drawn when first needed and a bounded
// number kept, so these bounds plus that cache cap the memory any accepted file can take.
inline constexpr int kMaxFrames = 256;
inline constexpr int kMinSide = 16;
inline constexpr int kMaxSide = 512;
inline constexpr int kMaxStepMs = 60000;
// Shorter steps are drawn this long: a 1 ms step would keep the processor busy while idle.
inline constexpr int kMinStepMs = 20;
// Beak openings the voice reports: 0 closed .. 3 wide.
inline constexpr int kBeakOpenings = 4;

inline constexpr char kIdleAnimation[] = "idle";
inline constexpr char kBlinkAnimation[] = "blink";
inline constexpr char kShowAnimation[] = "show";

struct AnimationStep {
    QString frame;
    int ms = 0;  // kMinStepMs .. kMaxStepMs
};

struct CharacterData {
    QString id;
    QString name;
    QSize size;
    // Where the balloon's tail points, in character pixels.
    QPoint beak;
    std::map<QString, QByteArray> frames;
    std::map<QString, std::vector<AnimationStep>> animations;
    // Closed first, widest last.
    std::vector<QString> beakFrames;
};

// What is wrong with a document, phrased to follow the file's name.
struct FormatFault {
    QString what;
};

// Parses and checks everything but the SVG drawing itself; throws FormatFault at the first fault.
// expectedId is compared without regard to letter case.
CharacterData decodeCharacter(const QByteArray& json, const QString& expectedId);

}  // namespace agent::character
