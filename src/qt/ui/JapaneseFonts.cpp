#include "qt/ui/JapaneseFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace ui {
namespace {

// Only the installed face is asked for. Qt searches all the system's fonts for a stand-in for each
// absent face in the list, and for every further face the list names it works out, per script, the
// faces to fall back on before any glyph is missing. The installed families are looked at first:
// asking fontconfig about a name it lacks costs a substitution each time.
QStringList installedFace(const QStringList& faces) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& f : faces) {
        if (installed.contains(f, Qt::CaseInsensitive)) return {f};
    }
    for (const QString& f : faces) {
        if (QFontDatabase::hasFamily(f)) return {f};
    }
    return faces;
}

QFont face(const QStringList& families, double points) {
    QFont f;
    f.setFamilies(families);
    f.setPointSizeF(points);
    return f;
}

}  // namespace

QFont gothicFont(double points) {
    static const QStringList families = installedFace(
        {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")});
    return face(families, points);
}

QFont pGothicFont(double points) {
    static const QStringList families = installedFace(
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")});
    return face(families, points);
}

}  // namespace ui
