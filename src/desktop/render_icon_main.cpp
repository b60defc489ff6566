// tvx_render_icon SVG SIZE OUTPUT: renders the application icon as a SIZE x SIZE PNG.

#include "desktop/IconRenderer.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool sizeOk = false;
    const int size = args.size() == 4 ? args[2].toInt(&sizeOk) : 0;
    if (!sizeOk) {
        std::fprintf(stderr, "usage: tvx_render_icon SVG SIZE OUTPUT\n");
        return 2;
    }
    try {
        desktop::writeIconPng(args[1], size, args[3]);
    } catch (const desktop::IconError& e) {
        std::fprintf(stderr, "tvx_render_icon: %s\n", e.what());
        return 1;
    }
    return 0;
}
