#include "platform/ui/ProgramDirectory.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace platform {

QString programDirectory() {
    const QString path = QCoreApplication::applicationFilePath();
    // Resolved here rather than trusted to the platform: the link's folder holds no character file.
    const QString real = QFileInfo(path).canonicalFilePath();
    return QFileInfo(real.isEmpty() ? path : real).absolutePath();
}

}  // namespace platform
