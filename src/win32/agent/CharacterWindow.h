#pragma once

#include <windows.h>

#include "core/character/CharacterAnimation.h"
#include "core/character/CharacterDocument.h"
#include "win32/agent/BalloonWindow.h"
#include "win32/agent/CharacterFileWin.h"
#include "win32/agent/CharacterView.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <random>
#include <string>

namespace win32::agent {

// The parrot: a layered window whose every pixel carries its own alpha (UpdateLayeredWindow with a
// premultiplied 32-bit DIB), owned by the drill's window so it stays above it; clear pixels let
// clicks through. Frames are decoded when first shown and kept within a byte budget.
class CharacterWindow : public CharacterView {
public:
    static constexpr std::size_t kFrameBudgetBytes = 48u * 1024 * 1024;

    CharacterWindow(::agent::character::CharacterDocument doc, HWND owner);
    ~CharacterWindow() override;
    CharacterWindow(const CharacterWindow&) = delete;
    CharacterWindow& operator=(const CharacterWindow&) = delete;

    void show() override;
    void moveTo(int x, int y) override;
    RECT bounds() const override { return screenRect(); }
    void setBalloonFontSize(int points) override;
    int balloonFontSize() const override;
    void openBalloon(const std::string& text) override;
    void closeBalloon() override;
    void setMouth(double openness) override;

    // For tests: the windows, the frame on screen and the pixels handed to the layered window.
    HWND hwnd() const { return hwnd_; }
    const BalloonWindow& balloon() const { return balloon_; }
    const std::string& shownFrame() const { return shown_; }
    const std::uint32_t* dibPixels() const { return bits_; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void onTimer(UINT_PTR id);
    void armStep(int ms);
    void armBlink();
    void refresh();
    const DecodedFrame& frame(const std::string& name);
    RECT screenRect() const;

    ::agent::character::CharacterDocument doc_;
    ::agent::character::CharacterAnimation animation_;
    HWND hwnd_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP dib_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    std::string shown_;
    BalloonWindow balloon_;
    std::minstd_rand random_{std::random_device{}()};
    // Decoded frames, most recently shown first.
    std::map<std::string, DecodedFrame> decoded_;
    std::list<std::string> recent_;
    std::size_t decodedBytes_ = 0;
};

// The concrete window, for tests that look at its pixels; loadCharacterView returns the same.
std::unique_ptr<CharacterWindow> loadCharacterWindow(const std::string& path, HWND owner);

}  // namespace win32::agent
