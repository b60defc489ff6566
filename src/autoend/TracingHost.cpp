#include "autoend/TracingHost.h"

#include "autoend/Trace.h"

#include <QTimer>
#include <QWidget>

namespace autoend {

TracingHost::TracingHost(MainWindowHost& inner) : inner_(inner) {
    // The window is being built when this runs; look for it once the event loop is going.
    QTimer::singleShot(0, &context_, [this] { recordGeometryWhenShown(); });
}

void TracingHost::recordGeometryWhenShown() {
    QWidget* window = inner_.dialogParent();
    if (!window) return;
    if (!window->isVisible()) {
        QTimer::singleShot(100, &context_, [this] { recordGeometryWhenShown(); });
        return;
    }
    for (const char* name : {"Command6", "Frame1", "Command9", "Command10", "Label4"}) {
        const QString n = QString::fromLatin1(name);
        trace::geometry(n, window->findChild<QWidget*>(n));
    }
    trace::line(QStringLiteral("window shown"));
}

void TracingHost::setCommand6Enabled(bool enabled) {
    inner_.setCommand6Enabled(enabled);
    trace::line(QStringLiteral("Command6 enabled %1").arg(enabled ? 1 : 0));
}

void TracingHost::setLabel4Visible(bool visible) {
    inner_.setLabel4Visible(visible);
    trace::line(QStringLiteral("Label4 visible %1").arg(visible ? 1 : 0));
}

void TracingHost::showFrame1() {
    inner_.showFrame1();
    // Every tick shows the frame again; one line for the change is enough.
    if (frameShown_) return;
    frameShown_ = true;
    trace::line(QStringLiteral("Frame1 visible 1"));
}

void TracingHost::hideFrame1() {
    inner_.hideFrame1();
    frameShown_ = false;
    trace::line(QStringLiteral("Frame1 visible 0"));
}

void TracingHost::setCommand9Caption(const QString& caption) {
    inner_.setCommand9Caption(caption);
    if (caption == lastCaption_) return;
    lastCaption_ = caption;
    trace::line(QStringLiteral("Command9 caption ") + caption);
}

void TracingHost::quitProgram() {
    trace::line(QStringLiteral("quit"));
    inner_.quitProgram();
}

}  // namespace autoend
