#pragma once

#include <windows.h>

#include <memory>
#include <string>

// The parrot as the Win32 drill shows it: a layered per-pixel-alpha window kept above its owner, and a
// balloon beside it. The speech side (SAPI) drives it; it knows nothing of voices.
namespace win32::agent {

class CharacterView {
public:
    virtual ~CharacterView() = default;
    // Plays the show animation, then idles; the window stays visible.
    virtual void show() = 0;
    // Places the top-left corner at (x, y) screen pixels at once.
    virtual void moveTo(int x, int y) = 0;
    // The window's frame on the screen now, in pixels.
    virtual RECT bounds() const = 0;
    virtual void setBalloonFontSize(int points) = 0;
    virtual int balloonFontSize() const = 0;
    // Opens the balloon with this UTF-8 text beside the parrot; an empty text opens none.
    virtual void openBalloon(const std::string& text) = 0;
    virtual void closeBalloon() = 0;
    // Beak opening while speaking, 0 (closed, idle animation) to 1 (wide open).
    virtual void setMouth(double openness) = 0;
};

// Loads the character file at path (UTF-8) with the same validation and budgets as the Linux loader;
// throws ::agent::AgentError with a message naming the file and the fault. Nothing is drawn before the
// whole file has passed. owner: the window the character stays above.
std::unique_ptr<CharacterView> loadCharacterView(const std::string& path, HWND owner);

}  // namespace win32::agent
