#include "agent/character/CharacterFormat.h"

#include "agent/character/SvgFrameCheck.h"
#include "qt/ui/PlainText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <cmath>

namespace agent::character {
namespace {

[[noreturn]] void fault(const QString& what) {
    throw FormatFault{what};
}

// Text from the file is quoted short, with control characters escaped: a message must stay readable.
QString quoted(const QString& s) {
    return platform::ui::quotedExcerpt(s);
}

// What a value really is, for messages: 1.0000001 stays 1.0000001, and "1" is text, not a number.
QString describe(const QJsonValue& v) {
    switch (v.type()) {
        case QJsonValue::Double:
            return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
        case QJsonValue::String:
            return quoted(v.toString()) + QStringLiteral(" (text)");
        case QJsonValue::Bool:
            return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        case QJsonValue::Null:
            return QStringLiteral("null");
        case QJsonValue::Array:
            return QStringLiteral("a list");
        case QJsonValue::Object:
            return QStringLiteral("an object");
        case QJsonValue::Undefined:
            break;
    }
    return QStringLiteral("(none)");
}

QJsonObject requireObject(const QJsonObject& parent, const char* key) {
    const QJsonValue v = parent.value(QLatin1String(key));
    if (v.isUndefined()) fault(QStringLiteral("it has no \"%1\" entry").arg(QLatin1String(key)));
    if (!v.isObject()) fault(QStringLiteral("its \"%1\" entry is not an object").arg(QLatin1String(key)));
    return v.toObject();
}

// A whole number within [lo, hi]; JSON numbers are doubles, so 12.5 must not pass as 12.
// The range is checked on the double: converting 1e308 to int first would be undefined.
int requireInt(const QJsonObject& parent, const char* key, int lo, int hi, const QString& where) {
    const QJsonValue v = parent.value(QLatin1String(key));
    const double d = v.isDouble() ? v.toDouble() : 0.0;
    if (!v.isDouble() || !(d >= lo && d <= hi) || d != std::floor(d))
        fault(QStringLiteral("%1 \"%2\" must be a whole number from %3 to %4, not %5")
                  .arg(where, QLatin1String(key), QString::number(lo), QString::number(hi), describe(v)));
    return static_cast<int>(d);
}

void checkHeader(const QJsonObject& root, const QString& expectedId, CharacterData& out) {
    const QJsonValue format = root.value(QLatin1String("format"));
    if (format.toString() != QLatin1String(kFormatName))
        fault(QStringLiteral("it is not a %1 file (format %2)")
                  .arg(QLatin1String(kFormatName),
                       format.isString() ? quoted(format.toString()) : describe(format)));
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != kFormatVersion)
        fault(QStringLiteral("it has format version %1; only version %2 is understood")
                  .arg(describe(version), QString::number(kFormatVersion)));
    out.id = root.value(QLatin1String("id")).toString();
    if (out.id.isEmpty())
        fault(QStringLiteral("it names no character id; expected %1").arg(quoted(expectedId)));
    if (out.id.compare(expectedId, Qt::CaseInsensitive) != 0)
        fault(QStringLiteral("it holds the character %1, not %2").arg(quoted(out.id), quoted(expectedId)));
    out.name = root.value(QLatin1String("name")).toString(out.id);
}

void readGeometry(const QJsonObject& root, CharacterData& out) {
    const QJsonObject size = requireObject(root, "size");
    // One statement each: the first fault reported must not depend on argument evaluation order.
    const int width = requireInt(size, "width", kMinSide, kMaxSide, QStringLiteral("size"));
    const int height = requireInt(size, "height", kMinSide, kMaxSide, QStringLiteral("size"));
    out.size = QSize(width, height);
    const QJsonObject beak = requireObject(root, "beak");
    const int x = requireInt(beak, "x", 0, out.size.width() - 1, QStringLiteral("beak"));
    const int y = requireInt(beak, "y", 0, out.size.height() - 1, QStringLiteral("beak"));
    out.beak = QPoint(x, y);
}

void readFrames(const QJsonObject& root, CharacterData& out) {
    const QJsonObject frames = requireObject(root, "frames");
    if (frames.isEmpty()) fault(QStringLiteral("it has no frames"));
    if (frames.size() > kMaxFrames)
        fault(QStringLiteral("it has %1 frames; at most %2 are allowed").arg(frames.size()).arg(kMaxFrames));
    for (auto it = frames.begin(); it != frames.end(); ++it) {
        if (it.key().isEmpty()) fault(QStringLiteral("a frame has an empty name"));
        const QString user = QStringLiteral("frame ") + quoted(it.key());
        if (!it.value().isString() || it.value().toString().isEmpty())
            fault(QStringLiteral("%1 holds no SVG text").arg(user));
        QByteArray svg = it.value().toString().toUtf8();
        try {
            checkSvgFrame(svg);
        } catch (const FormatFault& f) {
            fault(user + QLatin1Char(' ') + f.what);
        }
        out.frames.emplace(it.key(), std::move(svg));
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
            const int ms = requireInt(step, "ms", 1, kMaxStepMs, user + QStringLiteral(" step"));
            sequence.push_back({frame, std::max(ms, kMinStepMs)});
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
