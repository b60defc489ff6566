#include "win32/agent/BalloonWindow.h"
#include "win32/agent/PlainWindowClass.h"

#include "core/character/CharacterAnimation.h"

#include <algorithm>

namespace win32::agent {
namespace {

constexpr wchar_t kClassName[] = L"TallyvoxBalloon";
constexpr int kPadding = 10;
constexpr int kRadius = 16;
constexpr int kMaxTextWidth = 560;
constexpr COLORREF kPaper = RGB(255, 255, 231);
constexpr COLORREF kInk = RGB(0, 0, 0);

void registerClass() {
    static const ATOM atom = registerPlainWindowClass(kClassName);
    (void)atom;
}

RECT workAreaOf(const RECT& r) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

}  // namespace

BalloonWindow::BalloonWindow(HWND owner) {
    registerClass();
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, L"", WS_POPUP, 0, 0, 10, 10,
                            owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BalloonWindow::windowProc));
    remakeFont();
}

BalloonWindow::~BalloonWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    if (font_ != nullptr) DeleteObject(font_);
}

void BalloonWindow::remakeFont() {
    if (font_ != nullptr) DeleteObject(font_);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    font_ = CreateFontW(-MulDiv(points_, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                        L"ＭＳ ゴシック");
}

void BalloonWindow::setFontSize(int points) {
    points_ = std::clamp(points, 1, 200);
    remakeFont();
}

SIZE BalloonWindow::measure() const {
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, font_);
    RECT r{0, 0, kMaxTextWidth, 0};
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return {r.right - r.left + 2 * kPadding, r.bottom - r.top + 2 * kPadding};
}

void BalloonWindow::open(const std::wstring& text, const RECT& character, int beakY) {
    if (text.empty()) {
        close();
        return;
    }
    text_ = text;
    follow(character, beakY);
    InvalidateRect(hwnd_, nullptr, TRUE);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
}

void BalloonWindow::follow(const RECT& character, int beakY) {
    if (text_.empty()) return;
    const SIZE size = measure();
    const RECT work = workAreaOf(character);
    const auto r = ::agent::character::placeBalloonBeside(
        size.cx, size.cy,
        {character.left, character.top, character.right - character.left, character.bottom - character.top},
        beakY, {work.left, work.top, work.right - work.left, work.bottom - work.top});
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowRgn(hwnd_, CreateRoundRectRgn(0, 0, r.width + 1, r.height + 1, kRadius, kRadius), TRUE);
}

void BalloonWindow::close() {
    text_.clear();
    ShowWindow(hwnd_, SW_HIDE);
}

void BalloonWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    HBRUSH paper = CreateSolidBrush(kPaper);
    HPEN pen = CreatePen(PS_SOLID, 2, kInk);
    HGDIOBJ oldBrush = SelectObject(dc, paper);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    RoundRect(dc, client.left, client.top, client.right, client.bottom, kRadius, kRadius);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(paper);
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kInk);
    RECT text{kPadding, kPadding, client.right - kPadding, client.bottom - kPadding};
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK BalloonWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<BalloonWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && message == WM_PAINT) {
        self->paint();
        return 0;
    }
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace win32::agent
