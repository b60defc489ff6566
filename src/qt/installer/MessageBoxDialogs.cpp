#include "qt/installer/MessageBoxDialogs.h"

#include "qt/ui/WholeLines.h"

#include <QMessageBox>
#include <QString>

namespace installer {

bool MessageBoxDialogs::askYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kMessageBoxTitle, QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No);
    ui::keepLinesWhole(box);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxDialogs::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kMessageBoxTitle, QString::fromStdString(text), QMessageBox::Ok);
    ui::keepLinesWhole(box);
    box.exec();
}

}  // namespace installer
