#include "agent/character/CharacterFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace agent::character {
namespace {

constexpr int kMaxSide = 1024;
constexpr int kMaxStepMs = 60000;

[[noreturn]] void fault(const QString& what) {
    throw FormatFault{what};
}

QString quoted(const QString& s) {
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QJsonObject requireObject(const QJsonObject& parent, const char* key) {
    const QJsonValue v = parent.value(QLatin1String(key));
    if (v.isUndefined()) fault(QStringLiteral("it has no \"%1\" entry").arg(QLatin1String(key)));
    if (!v.isObject()) fault(QStringLiteral("its \"%1\" entry is not an object").arg(QLatin1String(key)));
    return v.toObject();
}

// A whole number within [lo, hi]; JSON numbers are doubles, so 12.5 must not pass as 12.
int requireInt(const QJsonObject& parent, const char* key, int lo, int hi, const QString& where) {
    const QJsonValue v = parent.value(QLatin1String(key));
    const double d = v.toDouble(-1.0);
    if (!v.isDouble() || d != static_cast<int>(d) || d < lo || d > hi)
        fault(QStringLiteral("%1 \"%2\" must be a whole number from %3 to %4")
                  .arg(where, QLatin1String(key))
                  .arg(lo)
                  .arg(hi));
    return static_cast<int>(d);
}

void checkHeader(const QJsonObject& root, const QString& expectedId, CharacterData& out) {
    const QString format = root.value(QLatin1String("format")).toString();
    if (format != QLatin1String(kFormatName))
        fault(QStringLiteral("it is not a %1 file (format %2)")
                  .arg(QLatin1String(kFormatName), quoted(format)));
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != kFormatVersion)
        fault(QStringLiteral("it has format version %1; only version %2 is understood")
                  .arg(version.isDouble() ? QString::number(version.toDouble()) : QStringLiteral("(none)"))
                  .arg(kFormatVersion));
    out.id = root.value(QLatin1String("id")).toString();
    if (out.id.isEmpty())
        fault(QStringLiteral("it names no character id; expected %1").arg(quoted(expectedId)));
    if (out.id.compare(expectedId, Qt::CaseInsensitive) != 0)
        fault(QStringLiteral("it holds the character %1, not %2").arg(quoted(out.id), quoted(expectedId)));
    out.name = root.value(QLatin1String("name")).toString(out.id);
}

void readGeometry(const QJsonObject& root, CharacterData& out) {
    const QJsonObject size = requireObject(root, "size");
    out.size = QSize(requireInt(size, "width", 16, kMaxSide, QStringLiteral("size")),
                     requireInt(size, "height", 16, kMaxSide, QStringLiteral("size")));
    const QJsonObject beak = requireObject(root, "beak");
    out.beak = QPoint(requireInt(beak, "x", 0, out.size.width() - 1, QStringLiteral("beak")),
                      requireInt(beak, "y", 0, out.size.height() - 1, QStringLiteral("beak")));
}

void readFrames(const QJsonObject& root, CharacterData& out) {
    const QJsonObject frames = requireObject(root, "frames");
    if (frames.isEmpty()) fault(QStringLiteral("it has no frames"));
    for (auto it = frames.begin(); it != frames.end(); ++it) {
        if (it.key().isEmpty()) fault(QStringLiteral("a frame has an empty name"));
        if (!it.value().isString() || it.value().toString().isEmpty())
            fault(QStringLiteral("frame %1 holds no SVG text").arg(quoted(it.key())));
        out.frames.emplace(it.key(), it.value().toString().toUtf8());
    }
}

void requireKnownFrame(const CharacterData& data, const QString& frame, const QString& user) {
    if (!data.frames.contains(frame))
        fault(QStringLiteral("%1 names an unknown frame %2").arg(user, quoted(frame)));
}

void readAnimations(const QJsonObject& root, CharacterData& out) {
    const QJsonObject animations = requireObject(root, "animations");
    for (const char* required : {kIdleAnimation, kBlinkAnimation, kShowAnimation})
        if (!animations.contains(QLatin1String(required)))
            fault(QStringLiteral("it lacks the required animation %1").arg(quoted(QLatin1String(required))));
    for (auto it = animations.begin(); it != animations.end(); ++it) {
        const QString user = QStringLiteral("animation ") + quoted(it.key());
        const QJsonArray steps = it.value().toArray();
        if (!it.value().isArray() || steps.isEmpty())
            fault(QStringLiteral("%1 is not a non-empty list of steps").arg(user));
        std::vector<AnimationStep> sequence;
        for (const QJsonValue& stepValue : steps) {
            if (!stepValue.isObject()) fault(QStringLiteral("%1 has a step that is not an object").arg(user));
            const QJsonObject step = stepValue.toObject();
            const QString frame = step.value(QLatin1String("frame")).toString();
            requireKnownFrame(out, frame, user);
            sequence.push_back(
                {frame, requireInt(step, "ms", 1, kMaxStepMs, user + QStringLiteral(" step"))});
        }
        out.animations.emplace(it.key(), std::move(sequence));
    }
}

void readBeakFrames(const QJsonObject& root, CharacterData& out) {
    const QJsonValue beak = root.value(QLatin1String("beakFrames"));
    const QJsonArray list = beak.toArray();
    if (!beak.isArray() || list.size() < kBeakOpenings)
        fault(
            QStringLiteral("\"beakFrames\" must list at least %1 frames, closed to wide").arg(kBeakOpenings));
    for (const QJsonValue& v : list) {
        requireKnownFrame(out, v.toString(), QStringLiteral("\"beakFrames\""));
        out.beakFrames.push_back(v.toString());
    }
}

}  // namespace

CharacterData decodeCharacter(const QByteArray& json, const QString& expectedId) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        fault(QStringLiteral("it is not valid JSON (%1 at byte %2)")
                  .arg(error.errorString())
                  .arg(error.offset));
    if (!doc.isObject()) fault(QStringLiteral("it is not a JSON object"));
    const QJsonObject root = doc.object();
    CharacterData data;
    checkHeader(root, expectedId, data);
    readGeometry(root, data);
    readFrames(root, data);
    readAnimations(root, data);
    readBeakFrames(root, data);
    return data;
}

}  // namespace agent::character
