#include "autoend/Trace.h"

#include <QFile>
#include <QString>
#include <QWidget>

#include <memory>

namespace autoend::trace {
namespace {

QFile* file() {
    static const std::unique_ptr<QFile> f = []() -> std::unique_ptr<QFile> {
        const QString path = qEnvironmentVariable("TVX_AUTOEND_TRACE");
        if (path.isEmpty()) return nullptr;
        auto out = std::make_unique<QFile>(path);
        if (!out->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return nullptr;
        return out;
    }();
    return f.get();
}

}  // namespace

bool enabled() {
    return file() != nullptr;
}

void line(const QString& text) {
    QFile* f = file();
    if (!f) return;
    f->write(text.toUtf8() + '\n');
    f->flush();
}

void geometry(const QString& name, const QWidget* widget) {
    if (!widget || !enabled()) return;
    const QPoint p = widget->mapToGlobal(QPoint(0, 0));
    line(QStringLiteral("geometry %1 %2 %3 %4 %5")
             .arg(name)
             .arg(p.x())
             .arg(p.y())
             .arg(widget->width())
             .arg(widget->height()));
}

}  // namespace autoend::trace
