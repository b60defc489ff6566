#include "installer/MessageBoxDialogs.h"

#include <QMessageBox>
#include <QString>

namespace installer {

bool MessageBoxDialogs::askYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kMessageBoxTitle, QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxDialogs::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kMessageBoxTitle, QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
}

}  // namespace installer
