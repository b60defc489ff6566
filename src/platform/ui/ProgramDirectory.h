#pragma once

#include <QString>

namespace platform {

// The folder of the running program's real file, every symbolic link on the way resolved: started as
// /usr/bin/tallyvox-number it is /usr/lib/tallyvox-number, where the character file lies.
// Needs a QCoreApplication.
QString programDirectory();

}  // namespace platform
