#pragma once

#include "core/installer/InstallerFlow.h"

#include <QWidget>

namespace installer {

// Client size of the window in twips.
inline constexpr int kForm1WidthTwips = 4680;
inline constexpr int kForm1HeightTwips = 3195;

// The launcher's only window: no controls, no menu. It is shown only after an error was reported.
class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(platform::Registry& registry, platform::ProcessLauncher& launcher, InstallerDialogs& dialogs,
          std::string directory);

    // Does all the launcher's work, before the window is shown.
    LoadOutcome Form_Load();

    // Form_Load, then shows the window when it stays (after an error). True when it is shown.
    bool start();

private:
    InstallerFlow flow_;
};

}  // namespace installer
