#include "qt/agent/character/SvgFrameCheck.h"

#include "qt/agent/character/CharacterFormat.h"
#include "qt/ui/PlainText.h"

#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <vector>

namespace agent::character {
namespace {

using ui::quotedExcerpt;

constexpr qint64 kBytesPerUnit = 32;
constexpr qint64 kUnitsPerCoordinate = 4;
constexpr qint64 kUnitsPerGlyph = 4;

// Numbers in path data: each is one coordinate the rasteriser has to follow.
qint64 numbersIn(QStringView data) {
    qint64 count = 0;
    bool inNumber = false;
    for (const QChar c : data) {
        const bool digit = c.isDigit();
        if (digit && !inNumber) ++count;
        inNumber =
            digit || (inNumber && (c == QLatin1Char('.') || c == QLatin1Char('e') || c == QLatin1Char('E')));
    }
    return count;
}

qint64 visibleCharacters(QStringView text) {
    qint64 count = 0;
    for (const QChar c : text) count += c.isSpace() ? 0 : 1;
    return count;
}

bool holdsText(QStringView element) {
    return element == QLatin1String("text") || element == QLatin1String("tspan") ||
           element == QLatin1String("textPath") || element == QLatin1String("textArea") ||
           element == QLatin1String("tref");
}

[[noreturn]] void fault(const QString& what) {
    throw FormatFault{what};
}

struct Node {
    qint64 ownCost = 1;
    std::vector<int> children;
    QString link;  // the id after "#" in its href, if any
    bool isStyle = false;
    bool isText = false;
    qint64 expanded = -1;  // -1 until computed
};

// Every url(...) must point inside the document: url(#id), optionally quoted.
void checkUrls(QStringView text, const QString& where) {
    // Most values name no url( at all: the expression runs only on those that might.
    if (!text.contains(QLatin1String("url"), Qt::CaseInsensitive)) return;
    static const QRegularExpression url(QStringLiteral(R"(url\s*\(\s*(['"]?)\s*([^)'"]*))"),
                                        QRegularExpression::CaseInsensitiveOption);
    for (auto it = url.globalMatch(text.toString()); it.hasNext();) {
        const QString target = it.next().captured(2).trimmed();
        if (!target.startsWith(QLatin1Char('#')))
            fault(QStringLiteral("refers to %1 outside the document in %2; frames must be self-contained")
                      .arg(quotedExcerpt(target), where));
    }
}

// Stylesheets may not import, and escapes could hide a url( from the check above.
void checkStyle(QStringView css, const QString& where) {
    if (css.contains(QLatin1String("@import"), Qt::CaseInsensitive))
        fault(
            QStringLiteral("imports a stylesheet (@import) in %1; frames must be self-contained").arg(where));
    if (css.contains(QLatin1Char('\\')))
        fault(
            QStringLiteral("has a backslash escape in the style of %1, which frames may not use").arg(where));
    checkUrls(css, where);
}

class Checker {
public:
    explicit Checker(const QByteArray& svg) : xml_(svg) {}

    void run() {
        std::vector<int> open;
        while (!xml_.atEnd()) {
            switch (xml_.readNext()) {
                case QXmlStreamReader::DTD:
                    fault(QStringLiteral(
                        "has a document type declaration (<!DOCTYPE>), which frames may not use"));
                case QXmlStreamReader::EntityReference:
                    fault(QStringLiteral("uses the entity &%1;, which frames may not use")
                              .arg(ui::readableExcerpt(xml_.name().toString())));
                case QXmlStreamReader::ProcessingInstruction:
                    fault(QStringLiteral("has the processing instruction <?%1?>, which frames may not use")
                              .arg(ui::readableExcerpt(xml_.processingInstructionTarget().toString())));
                case QXmlStreamReader::StartElement:
                    open.push_back(
                        startElement(open.empty() ? -1 : open.back(), static_cast<int>(open.size())));
                    break;
                case QXmlStreamReader::EndElement:
                    if (!open.empty()) open.pop_back();
                    break;
                case QXmlStreamReader::Characters:
                    if (!open.empty()) {
                        Node& node = nodes_[open.back()];
                        node.ownCost += node.isText ? kUnitsPerGlyph * visibleCharacters(xml_.text())
                                                    : xml_.text().size() / kBytesPerUnit;
                        if (node.isStyle) checkStyle(xml_.text(), QStringLiteral("<style>"));
                    }
                    break;
                default:
                    break;
            }
        }
        if (xml_.hasError())
            fault(QStringLiteral("is not well-formed XML (line %1: %2)")
                      .arg(QString::number(xml_.lineNumber()), ui::readableExcerpt(xml_.errorString())));
        if (nodes_.empty()) fault(QStringLiteral("holds no SVG element"));
        const qint64 cost = expandedCost(0, 0);
        if (cost > kMaxSvgCost)
            fault(QStringLiteral(
                      "is too costly to draw (%1 units once every <use> is followed; the limit is %2)")
                      .arg(cost)
                      .arg(kMaxSvgCost));
    }

private:
    int startElement(int parent, int depth) {
        const QStringView name = xml_.name();
        if (parent < 0 && name != QLatin1String("svg"))
            fault(QStringLiteral("is not an SVG document (root <%1>)")
                      .arg(ui::readableExcerpt(name.toString())));
        if (depth >= kMaxSvgDepth)
            fault(QStringLiteral("nests elements more than %1 deep").arg(kMaxSvgDepth));
        if (static_cast<int>(nodes_.size()) >= kMaxSvgElements)
            fault(QStringLiteral("has more than %1 elements").arg(kMaxSvgElements));
        if (name == QLatin1String("image"))
            fault(QStringLiteral(
                "draws a picture from outside its own drawing (<image>); frames must be self-contained"));
        const int index = static_cast<int>(nodes_.size());
        nodes_.emplace_back();
        if (parent >= 0) nodes_[parent].children.push_back(index);
        Node& node = nodes_.back();
        node.isStyle = name == QLatin1String("style");
        node.isText = holdsText(name);
        const QString where = QLatin1Char('<') + ui::readableExcerpt(name.toString()) + QLatin1Char('>');
        qsizetype bytes = 0;
        for (const QXmlStreamAttribute& a : xml_.attributes()) {
            const QStringView value = a.value();
            bytes += value.size() + a.qualifiedName().size();
            if (a.name() == QLatin1String("d") || a.name() == QLatin1String("points"))
                node.ownCost += kUnitsPerCoordinate * numbersIn(value);
            if (a.name() == QLatin1String("href")) {
                if (!value.startsWith(QLatin1Char('#')) || value.size() < 2)
                    fault(QStringLiteral(
                              "refers to %1 outside the document in %2; frames must be self-contained")
                              .arg(quotedExcerpt(value.toString()), where));
                node.link = value.mid(1).toString();
            } else if (a.name() == QLatin1String("id")) {
                ids_.insert(value.toString(), index);
            }
            if (a.name() == QLatin1String("style"))
                checkStyle(value, where);
            else
                checkUrls(value, where);
        }
        node.ownCost += bytes / kBytesPerUnit;
        return index;
    }

    // Elements drawn, counting each <use> (and gradient link) as a copy of what it names.
    qint64 expandedCost(int index, int depth) {
        if (depth > kMaxSvgDepth * 2)
            fault(QStringLiteral("links <use> elements more than %1 deep or in a circle")
                      .arg(kMaxSvgDepth * 2));
        Node& node = nodes_[index];
        if (node.expanded >= 0) return node.expanded;
        qint64 cost = node.ownCost;
        for (int child : node.children) {
            cost += expandedCost(child, depth + 1);
            if (cost > kMaxSvgCost) return cost;
        }
        if (!node.link.isEmpty()) {
            const auto target = ids_.constFind(node.link);
            if (target != ids_.cend()) cost += expandedCost(*target, depth + 1);
        }
        nodes_[index].expanded = cost;
        return cost;
    }

    QXmlStreamReader xml_;
    std::vector<Node> nodes_;
    QHash<QString, int> ids_;
};

}  // namespace

void checkSvgFrame(const QByteArray& svg) {
    Checker(svg).run();
}

}  // namespace agent::character
