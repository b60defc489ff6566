// The main window's way into the listening test: one menu item that opens the test window.

#include "core/trace/Trace.h"
#include "qt/drill/ListeningTest.h"
#include "qt/drill/ReadOut1.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

namespace drill {

void ReadOut1::addListeningTestMenu() {
    ListeningTestMenu = new QAction(QStringLiteral("聞き取りテスト"), this);
    ListeningTestMenu->setObjectName(QStringLiteral("ListeningTestMenu"));
    menuBar()->insertAction(Version, ListeningTestMenu);
    connect(ListeningTestMenu, &QAction::triggered, this, &ReadOut1::ListeningTestMenu_Click);
    if (trace::enabled()) {
        // End-to-end tests find the item from its place in the window (a window manager moves the
        // window after this is written).
        QTimer::singleShot(0, this, [this] {
            const QRect r = menuBar()->actionGeometry(ListeningTestMenu);
            const QPoint at = menuBar()->mapTo(this, r.topLeft());
            trace::write("menu", (QStringLiteral("ListeningTestMenu %1 %2 %3 %4")
                                      .arg(at.x())
                                      .arg(at.y())
                                      .arg(r.width())
                                      .arg(r.height()))
                                     .toStdString());
        });
    }
}

ListeningTest* ReadOut1::ListeningTestWindow() const {
    return listeningTest_.data();
}

void ReadOut1::ListeningTestMenu_Click() {
    trace::write("click", "ListeningTestMenu");
    // A drill started while the test is open stops again at the test's next reading.
    const auto stopDrill = [this] { logic_->Sequencer().Stop(); };
    stopDrill();
    if (!listeningTest_) {
        ListeningTestDeps deps;
        deps.mainState = &State();
        deps.characters = &Agent1().Characters();
        deps.speechChar = SpeechChar;
        deps.beforeReading = stopDrill;
        // The test draws from the place columns: they stay in sight and within reach.
        deps.keepVisible = [this] {
            QRect columns;
            for (const QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2)})
                columns |= QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
            for (int i = 1; i <= 15; ++i)
                for (const QCheckBox* box : {Check1[i], Check2[i]})
                    columns |= QRect(box->mapToGlobal(QPoint(0, 0)), box->size());
            return columns;
        };
        listeningTest_ = new ListeningTest(std::move(deps), this);
        listeningTest_->placeBesideOwner();
    }
    listeningTest_->show();
    listeningTest_->raise();
    listeningTest_->activateWindow();
    listeningTest_->setFocus(Qt::OtherFocusReason);
    if (trace::enabled()) {
        const QRect own = frameGeometry();
        const QRect test = listeningTest_->geometry();
        trace::write("listening", (QStringLiteral("placed %1 %2 %3 %4 beside %5 %6 %7 %8")
                                       .arg(test.x())
                                       .arg(test.y())
                                       .arg(test.width())
                                       .arg(test.height())
                                       .arg(own.x())
                                       .arg(own.y())
                                       .arg(own.width())
                                       .arg(own.height()))
                                      .toStdString());
    }
}

}  // namespace drill
