#include "installer/Form1.h"
#include "installer/MessageBoxDialogs.h"
#include "platform/Process.h"
#include "platform/ui/ProgramDirectory.h"
#include "platform/Registry.h"
#include "platform/ui/DisplayPlatform.h"
#include "platform/ui/QtJapanese.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    platform::chooseDisplayPlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TallyvoxNumberInstall"));
    platform::installQtJapanese();

    const auto registry = platform::createSystemRegistry();
    const auto launcher = platform::createSystemProcessLauncher();
    installer::MessageBoxDialogs dialogs;
    // The installers lie beside the launcher, wherever it is started from.
    const std::string directory =
        QDir::toNativeSeparators(platform::programDirectory()).toLocal8Bit().toStdString();

    installer::Form1 form(*registry, *launcher, dialogs, directory);
    // Declined or completed: the program ends without its window ever appearing.
    if (!form.start()) return 0;
    return QApplication::exec();
}
