// Prints platform::programDirectory() of this very process.

#include "platform/ui/ProgramDirectory.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("%s\n", platform::programDirectory().toLocal8Bit().constData());
    return 0;
}
