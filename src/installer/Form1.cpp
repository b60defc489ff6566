#include "installer/Form1.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <utility>

namespace installer {

int twipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

Form1::Form1(platform::Registry& registry, platform::ProcessLauncher& launcher, InstallerDialogs& dialogs,
             std::string directory)
    : flow_(registry, launcher, dialogs, std::move(directory)) {
    setWindowTitle(QStringLiteral("Form1"));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    resize(twipsToPixels(kForm1WidthTwips, dpi), twipsToPixels(kForm1HeightTwips, dpi));
}

LoadOutcome Form1::Form_Load() {
    // The launch record names this window as the owner of whatever the installers show.
    return flow_.run(static_cast<std::uintptr_t>(winId()));
}

bool Form1::start() {
    if (Form_Load() != LoadOutcome::ErrorShown) return false;
    show();
    return true;
}

}  // namespace installer
