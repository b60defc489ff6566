#include "qt/agent/character/CharacterFormat.h"

#include "qt/agent/character/SvgFrameCheck.h"

namespace agent::character {

CharacterData decodeCharacter(const QByteArray& json, const QString& expectedId, FrameChecks frameChecks) {
    CharacterDocument doc;
    try {
        doc =
            parseCharacterDocument(std::string_view(json.constData(), static_cast<std::size_t>(json.size())),
                                   expectedId.toStdString(), FrameKind::Svg, [&](const std::string& svg) {
                                       if (frameChecks == FrameChecks::Skip) return;
                                       try {
                                           checkSvgFrame(QByteArray::fromStdString(svg));
                                       } catch (const FormatFault& f) {
                                           throw DocumentFault{f.what.toStdString()};
                                       }
                                   });
    } catch (const DocumentFault& f) {
        throw FormatFault{QString::fromStdString(f.what)};
    }
    CharacterData data;
    data.id = QString::fromStdString(doc.id);
    data.name = QString::fromStdString(doc.name);
    data.size = QSize(doc.width, doc.height);
    data.beak = QPoint(doc.beakX, doc.beakY);
    for (auto& [name, svg] : doc.frames)
        data.frames.emplace(QString::fromStdString(name), QByteArray::fromStdString(svg));
    for (const auto& [name, steps] : doc.animations) {
        std::vector<AnimationStep> sequence;
        for (const DocumentStep& s : steps) sequence.push_back({QString::fromStdString(s.frame), s.ms});
        data.animations.emplace(QString::fromStdString(name), std::move(sequence));
    }
    for (const std::string& frame : doc.beakFrames) data.beakFrames.push_back(QString::fromStdString(frame));
    return data;
}

}  // namespace agent::character
