#pragma once

#include <windows.h>

#include <string>

namespace win32::agent {

// The speech balloon: a plain popup owned by the drill's window, beside the parrot, showing one text
// in ＭＳ ゴシック (IPAGothic under Wine) at a settable point size.
class BalloonWindow {
public:
    explicit BalloonWindow(HWND owner);
    ~BalloonWindow();
    BalloonWindow(const BalloonWindow&) = delete;
    BalloonWindow& operator=(const BalloonWindow&) = delete;

    void setFontSize(int points);
    int fontSize() const { return points_; }
    // Opens (or refills) the balloon beside character, a screen rectangle; beakY in screen pixels.
    void open(const std::wstring& text, const RECT& character, int beakY);
    // Follows the character without changing the text.
    void follow(const RECT& character, int beakY);
    void close();

    HWND hwnd() const { return hwnd_; }
    const std::wstring& text() const { return text_; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void remakeFont();
    SIZE measure() const;

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    int points_ = 30;
    std::wstring text_;
};

}  // namespace win32::agent
