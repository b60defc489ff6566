#pragma once

#include <string>

namespace platform {

// The folder of the running program's real file, every symbolic link on the way resolved: started as
// /usr/bin/tallyvox-number it is /usr/lib/tallyvox-number, where the character file lies. UTF-8 on
// Windows, the file system's bytes elsewhere; empty when the system cannot say.
std::string programDirectory();

}  // namespace platform
