#include "qt/installer/Form1.h"

#include "qt/ui/Twips.h"

#include <utility>

namespace installer {

Form1::Form1(platform::Registry& registry, platform::ProcessLauncher& launcher, InstallerDialogs& dialogs,
             std::string directory)
    : flow_(registry, launcher, dialogs, std::move(directory)) {
    setWindowTitle(QStringLiteral("Form1"));
    const double dpi = ui::screenLogicalDpi();
    resize(ui::twipsToPixels(kForm1WidthTwips, dpi), ui::twipsToPixels(kForm1HeightTwips, dpi));
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
