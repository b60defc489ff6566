#include "agent/speech/AudioTrace.h"

#include <QDateTime>
#include <QFile>

#include <mutex>

namespace agent::speech {

void traceAudio(const char* event, const std::string& detail) {
    static std::mutex mutex;
    static QFile* file = [] {
        const QString path = qEnvironmentVariable("TVX_AUDIO_TRACE");
        if (path.isEmpty()) return static_cast<QFile*>(nullptr);
        auto* f = new QFile(path);
        if (!f->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            delete f;
            return static_cast<QFile*>(nullptr);
        }
        return f;
    }();
    if (!file) return;
    const std::lock_guard lock(mutex);
    QByteArray line = QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' + event;
    if (!detail.empty()) line += ' ' + QByteArray::fromStdString(detail);
    file->write(line + '\n');
    file->flush();
}

}  // namespace agent::speech
