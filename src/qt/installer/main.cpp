#include "platform/Process.h"
#include "platform/ProgramDirectory.h"
#include "platform/Registry.h"
#include "qt/installer/Form1.h"
#include "qt/installer/MessageBoxDialogs.h"
#include "qt/ui/DisplayPlatform.h"
#include "qt/ui/QtJapanese.h"
#include "qt/ui/SessionBus.h"

#include <QApplication>

int main(int argc, char** argv) {
    ui::chooseDisplayPlatform();
    QApplication app(argc, argv);
    ui::settleAbsentSessionBus();
    QApplication::setApplicationName(QStringLiteral("TallyvoxNumberInstall"));
    ui::installQtJapanese();

    const auto registry = platform::createSystemRegistry();
    const auto launcher = platform::createSystemProcessLauncher();
    installer::MessageBoxDialogs dialogs;
    // The installers lie beside the launcher, wherever it is started from.
    const std::string directory = platform::programDirectory();

    installer::Form1 form(*registry, *launcher, dialogs, directory);
    // Declined or completed: the program ends without its window ever appearing.
    if (!form.start()) return 0;
    return QApplication::exec();
}
