#include "core/drill/StartupTexts.h"
#include "platform/StartupHeap.h"
#include "qt/agent/Agent.h"
#include "qt/agent/DeferredSpeechService.h"
#include "qt/agent/speech/SpeechService.h"
#include "qt/drill/PackedCharacter.h"
#include "qt/drill/ReadOut1.h"
#include "qt/ui/DisplayPlatform.h"
#include "qt/ui/FirstExpose.h"
#include "qt/ui/FontConfigWarmUp.h"
#include "qt/ui/MenuBarStyle.h"
#include "qt/ui/PlainMessageBox.h"
#include "qt/ui/QtJapanese.h"
#include "qt/ui/SessionBus.h"

#include <QApplication>

#include <cstddef>
#include <cstdio>
#include <exception>
#include <thread>

namespace {

// About what the heap grows by (1.6 MiB) before the window maps.
constexpr std::size_t kStartupHeapBytes = 2 << 20;

}  // namespace

int main(int argc, char** argv) {
    ui::FontConfigWarmUp fontConfig;
    const std::jthread heapMapping = platform::mapStartupHeap(kStartupHeapBytes);
    ui::chooseDisplayPlatform();
    QApplication app(argc, argv);
    fontConfig.wait();
    // The first text set asks for the session bus (for screen readers); without one, not at the price of
    // a fork.
    ui::settleAbsentSessionBus();
    QApplication::setApplicationName(QStringLiteral("Tallyvox-Number"));
    ui::installQtJapanese();
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tallyvox-number"));
    // The character's windows never count as the last window: closing ReadOut1 ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // The menu bar is part of the window's layout (the Version item sits at its right end), never a
    // desktop's global menu; asking the session bus whether one exists also costs start-up time.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication::setStyle(new ui::MenuBarStyle);

    drill::ReadOut1Deps deps;
    std::unique_ptr<drill::ReadOut1> window;
    agent::DeferredSpeechService* voice = nullptr;
    agent::Agent* characters = nullptr;
    try {
        auto deferred = std::make_unique<agent::DeferredSpeechService>(
            [] { return agent::speech::createSpeechService(); });
        voice = deferred.get();
        auto agent = std::make_unique<agent::Agent>(std::move(deferred),
                                                    QByteArray(drill::kPackedCharacterFingerprint));
        characters = agent.get();
        deps.agent = std::move(agent);
        window = std::make_unique<drill::ReadOut1>(std::move(deps));
        characters->holdShows();
        window->Form_Load();
    } catch (const std::exception& e) {
        // Start-up traps nothing of its own: report the fault and end without showing the window.
        std::fprintf(stderr, "Tallyvox-Number: %s\n", e.what());
        window.reset();
        // The message may quote the character file: plain text, bounded, on the screen.
        ui::showPlainMessage(QMessageBox::Critical, QStringLiteral("Tallyvox-Number"),
                             QString::fromStdString(drill::startupFailureText(e.what())));
        return 1;
    }
    window->show();
    // The character, then the voice, once the window is painted: neither holds up its map.
    ui::afterFirstExpose(*window, *window, [characters, voice] {
        characters->releaseShows();
        voice->start();
    });
    if (ui::windowsCannotBePlaced()) {
        QMessageBox* notice = ui::newPlainMessageBox(
            QMessageBox::Information, QStringLiteral("Tallyvox-Number"),
            QString::fromStdString(drill::characterCannotBePlacedText()), window.get());
        notice->setModal(false);
        notice->setAttribute(Qt::WA_DeleteOnClose);
        notice->show();
    }
    const int rc = QApplication::exec();
    window.reset();
    return rc;
}
