#include "qt/ui/QtJapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {

QString qtTranslationsDir() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool installQtJapanese() {
    // Owned by the application, so it lives exactly as long as the translations are in use.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qt_ja"), qtTranslationsDir())) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace ui
