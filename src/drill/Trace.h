#pragma once

#include <QString>

namespace drill {

// An optional event log for end-to-end tests: written only when TVX_TRACE_FILE names a file.
// Each line is "<ms since the epoch> <event> <detail>", so it lines up with other recordings.
class Trace {
public:
    static void openFromEnvironment();
    static bool enabled();
    static void write(const char* event, const QString& detail = QString());
};

}  // namespace drill
