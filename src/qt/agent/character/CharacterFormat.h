#pragma once

// The character file as the Qt drill holds it: the shared format (core/character) with Qt's types,
// and every SVG frame checked by SvgFrameCheck.

#include "core/character/CharacterDocument.h"

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>

#include <map>
#include <vector>

namespace agent::character {

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

// Whether each SVG frame is put through SvgFrameCheck; Skip only for bytes already checked in full.
enum class FrameChecks { Run, Skip };

// Parses and checks everything but the SVG drawing itself; throws FormatFault at the first fault.
// expectedId is compared without regard to letter case.
CharacterData decodeCharacter(const QByteArray& json, const QString& expectedId,
                              FrameChecks frameChecks = FrameChecks::Run);

}  // namespace agent::character
