#pragma once

#include "qt/ui/DisplayPlatform.h"

#include <QByteArray>

#include <functional>

namespace ui {

// What the D-Bus library looks at to find the session bus; tests hand in their own.
struct SessionBusClues {
    EnvironmentLookup env;
    std::function<bool(const QByteArray& path)> exists;
    std::function<bool(const QByteArray& path)> isExecutable;
};

// True when the D-Bus library can find no session bus: no address in the environment, no bus socket in
// the user's runtime folder and no dbus-launch to ask for one. The library would still fork the whole
// program to look for dbus-launch, and after a fork every page the program writes faults once more.
bool sessionBusIsAbsent(const SessionBusClues& clues);

// Where the session bus is absent, Qt's one attempt at it (Qt keeps its outcome for the process) fails at
// once instead. The environment children inherit stays as it was. Call once the application object exists.
void settleAbsentSessionBus();

}  // namespace ui
