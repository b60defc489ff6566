#include "drill/Trace.h"

#include <QDateTime>
#include <QFile>

#include <memory>

namespace drill {

namespace {
std::unique_ptr<QFile> file;
}  // namespace

void Trace::openFromEnvironment() {
    const QByteArray path = qgetenv("TVX_TRACE_FILE");
    if (path.isEmpty()) return;
    file = std::make_unique<QFile>(QString::fromLocal8Bit(path));
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        file.reset();
        return;
    }
}

bool Trace::enabled() { return file != nullptr; }

void Trace::write(const char* event, const QString& detail) {
    if (!file) return;
    const QByteArray line = QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + event + ' ' + detail.toUtf8() + '\n';
    file->write(line);
    file->flush();
}

}  // namespace drill
