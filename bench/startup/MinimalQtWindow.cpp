// The baseline of bench/startup_ratio.py: one empty Qt widget window of the drill's size, nothing else.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("tvx-minimal-qt-window"));
    window.resize(783, 450);
    window.show();
    return QApplication::exec();
}
