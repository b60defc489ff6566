// Tallyvox-Number for Windows: the drill's main window, our parrot and the voices of SAPI 5.

#include "win32/drill/DrillMain.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The machine's own shutdown requests: only this program ever makes them.
    return win32::drill::runDrill(instance, nullptr);
}
