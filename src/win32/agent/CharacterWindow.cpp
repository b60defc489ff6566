#include "win32/agent/CharacterWindow.h"
#include "win32/agent/PlainWindowClass.h"

#include "core/agent/AgentApi.h"

#include <algorithm>
#include <cstring>

namespace win32::agent {
namespace {

constexpr wchar_t kClassName[] = L"TallyvoxCharacter";
constexpr UINT_PTR kStepTimer = 1;
constexpr UINT_PTR kBlinkTimer = 2;

void registerClass() {
    static const ATOM atom = registerPlainWindowClass(kClassName);
    (void)atom;
}

}  // namespace

CharacterWindow::CharacterWindow(::agent::character::CharacterDocument doc, HWND owner)
    : doc_(std::move(doc)), animation_(doc_), balloon_(owner) {
    registerClass();
    // Owned, not topmost: above the drill's window, not above everything else.
    hwnd_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName,
                            wide(doc_.name).c_str(), WS_POPUP, 0, 0, doc_.width, doc_.height, owner, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) throw ::agent::AgentError("The character window cannot be created.");
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CharacterWindow::windowProc));

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = doc_.width;
    info.bmiHeader.biHeight = -doc_.height;  // top row first, as the frames are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen);
    void* bits = nullptr;
    dib_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (dib_ == nullptr || memory_ == nullptr)
        throw ::agent::AgentError("The character window cannot be drawn.");
    bits_ = static_cast<std::uint32_t*>(bits);
    oldBitmap_ = SelectObject(memory_, dib_);
}

CharacterWindow::~CharacterWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    if (memory_ != nullptr) {
        SelectObject(memory_, oldBitmap_);
        DeleteDC(memory_);
    }
    if (dib_ != nullptr) DeleteObject(dib_);
}

void CharacterWindow::show() {
    armStep(animation_.playShow());
    refresh();
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    armBlink();
}

void CharacterWindow::moveTo(int x, int y) {
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT r = screenRect();
    balloon_.follow(r, r.top + doc_.beakY);
}

void CharacterWindow::setBalloonFontSize(int points) {
    balloon_.setFontSize(points);
}

int CharacterWindow::balloonFontSize() const {
    return balloon_.fontSize();
}

void CharacterWindow::openBalloon(const std::string& text) {
    const RECT r = screenRect();
    balloon_.open(wide(text), r, r.top + doc_.beakY);
}

void CharacterWindow::closeBalloon() {
    balloon_.close();
}

void CharacterWindow::setMouth(double openness) {
    animation_.setMouth(openness);
    refresh();
}

RECT CharacterWindow::screenRect() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

void CharacterWindow::armStep(int ms) {
    SetTimer(hwnd_, kStepTimer, static_cast<UINT>(ms), nullptr);
}

void CharacterWindow::armBlink() {
    std::uniform_int_distribution<int> wait(::agent::character::kBlinkMinMs, ::agent::character::kBlinkMaxMs);
    SetTimer(hwnd_, kBlinkTimer, static_cast<UINT>(wait(random_)), nullptr);
}

void CharacterWindow::onTimer(UINT_PTR id) {
    if (id == kStepTimer) {
        armStep(animation_.step());
    } else if (id == kBlinkTimer) {
        if (const int ms = animation_.blink(); ms > 0) armStep(ms);
        armBlink();
    }
    refresh();
}

const DecodedFrame& CharacterWindow::frame(const std::string& name) {
    if (auto held = decoded_.find(name); held != decoded_.end()) {
        recent_.remove(name);
        recent_.push_front(name);
        return held->second;
    }
    const std::size_t bytes = static_cast<std::size_t>(doc_.width) * doc_.height * 4;
    while (!recent_.empty() && decodedBytes_ + bytes > kFrameBudgetBytes) {
        decoded_.erase(recent_.back());
        recent_.pop_back();
        decodedBytes_ -= bytes;
    }
    DecodedFrame decoded;
    try {
        decoded = decodePngFrame(doc_.frames.at(name), doc_.width, doc_.height);
    } catch (const ::agent::character::DocumentFault&) {
        // Decoded once at load already; a clear frame rather than a failure in the middle of a drill.
        decoded = {doc_.width, doc_.height, std::vector<std::uint32_t>(bytes / 4, 0)};
    }
    recent_.push_front(name);
    decodedBytes_ += bytes;
    return decoded_.emplace(name, std::move(decoded)).first->second;
}

void CharacterWindow::refresh() {
    const std::string& wanted = animation_.frame();
    if (wanted == shown_) return;
    shown_ = wanted;
    const DecodedFrame& f = frame(shown_);
    std::memcpy(bits_, f.pixels.data(), f.pixels.size() * 4);
    GdiFlush();
    const RECT r = screenRect();
    POINT position{r.left, r.top};
    SIZE size{doc_.width, doc_.height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(hwnd_, nullptr, &position, &size, memory_, &origin, 0, &blend, ULW_ALPHA);
}

LRESULT CALLBACK CharacterWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CharacterWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && message == WM_TIMER) {
        self->onTimer(wParam);
        return 0;
    }
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::unique_ptr<CharacterWindow> loadCharacterWindow(const std::string& path, HWND owner) {
    return std::make_unique<CharacterWindow>(readCharacterFile(path, "peedy"), owner);
}

std::unique_ptr<CharacterView> loadCharacterView(const std::string& path, HWND owner) {
    return loadCharacterWindow(path, owner);
}

}  // namespace win32::agent
