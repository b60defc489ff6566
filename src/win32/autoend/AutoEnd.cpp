#include "win32/autoend/AutoEnd.h"

#include "core/ui/Twips.h"
#include "win32/ui/Dpi.h"
#include "win32/ui/Fonts.h"
#include "win32/ui/TextFit.h"
#include "win32/ui/WideText.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace win32::autoend {
namespace {

// Control ids: the row's number is added to the arrows', boxes' and labels' bases.
enum ControlId : int {
    kCommand11 = 311,
    kCommand12 = 312,
    kUpDown = 320,
    kText = 330,
    kLabel = 340,
};

constexpr int kClientWidthTwips = 5475;
constexpr int kClientHeightTwips = 3135;
constexpr double kFontPoints = 14.25;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr int kRowTops[4] = {75, 735, 1320, 1935};
constexpr const char* kLabels[4] = {"分後にシャットダウンする。", "分後にTallyvox-Numberを終了する。",
                                    "個でシャットダウンする。", "個でTallyvox-Numberを終了する。"};
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// A dialog template with no controls and no font: the controls are made in WM_INITDIALOG at their
// twips rectangles, which dialog units could not express.
std::vector<WORD> dialogTemplate() {
    std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
    d->style = kStyle;
    t.push_back(0);  // no menu
    t.push_back(0);  // the standard dialog class
    for (const wchar_t c : std::wstring(L"End Set")) t.push_back(static_cast<WORD>(c));
    t.push_back(0);
    return t;
}

int rowOf(int id, int base) {
    return id > base && id <= base + 4 ? id - base : 0;
}

}  // namespace

AutoEnd::AutoEnd(::autoend::MainWindowHost& host, ::autoend::AutoEndState& state,
                 const ::autoend::IWallClock& clock, HWND owner)
    : host_(host), state_(state), clock_(clock), owner_(owner) {}

void AutoEnd::showModal(double leftTw, double topTw) {
    leftTw_ = leftTw;
    topTw_ = topTw;
    const std::vector<WORD> t = dialogTemplate();
    DialogBoxIndirectParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_, GWLP_HINSTANCE)),
                            reinterpret_cast<const DLGTEMPLATE*>(t.data()), owner_, dialogProc,
                            reinterpret_cast<LPARAM>(this));
    deleteFonts();
    hwnd_ = nullptr;
}

void AutoEnd::createControls() {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    const auto make = [&](DWORD exStyle, const wchar_t* cls, const std::string& caption, DWORD style,
                          int id) {
        CreateWindowExW(exStyle, cls, ui::toWide(caption).c_str(), style, 0, 0, 0, 0, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    // Created in the tab order: Command11, Command12, UpDown1 to UpDown4, Text11 to Text14.
    make(0, L"BUTTON", "実行", kChild | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, kCommand11);
    make(0, L"BUTTON", "中止", kChild | WS_TABSTOP | BS_PUSHBUTTON, kCommand12);
    for (int row = 1; row <= 4; ++row) {
        make(0, UPDOWN_CLASSW, "", kChild | WS_TABSTOP | UDS_ARROWKEYS, kUpDown + row);
        // The control's own value is not used: a range in the middle keeps both arrows live for ever.
        SendMessageW(control(kUpDown + row), UDM_SETRANGE32, 0, 100);
        SendMessageW(control(kUpDown + row), UDM_SETPOS32, 0, 50);
    }
    for (int row = 1; row <= 4; ++row) {
        make(WS_EX_CLIENTEDGE, L"EDIT", "", kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, kText + row);
        SetWindowSubclass(control(kText + row), boxProc, static_cast<UINT_PTR>(row),
                          reinterpret_cast<DWORD_PTR>(this));
    }
    for (int row = 1; row <= 4; ++row)
        make(0, L"STATIC", kLabels[row - 1], kChild | SS_LEFT | SS_NOPREFIX, kLabel + row);
}

void AutoEnd::fitFont(int id, const std::wstring& text) {
    const ui::TextKind kind = id >= kLabel  ? ui::TextKind::Label
                              : id >= kText ? ui::TextKind::TextBox
                                            : ui::TextKind::Button;
    HFONT font = ui::fittingFont(control(id), kind, kFontPoints, dpi_, ui::createPGothicFont, {text});
    SendMessageW(control(id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    HFONT& slot = fonts_[id];
    if (slot) DeleteObject(slot);
    slot = font;
}

void AutoEnd::deleteFonts() {
    for (auto& [id, font] : fonts_) DeleteObject(font);
    fonts_.clear();
}

void AutoEnd::layout() {
    const auto px = [this](int twips) { return ::ui::twipsToPixels(twips, dpi_); };
    const auto put = [&](int id, int l, int t, int w, int h) {
        HWND c = control(id);
        MoveWindow(c, px(l), px(t), px(w), px(h), FALSE);
        if (id == kCommand11 || id == kCommand12 || id > kText) {
            wchar_t caption[128] = {};
            GetWindowTextW(c, caption, 128);
            fitFont(id, caption);
        }
    };
    put(kCommand11, 870, 2565, 1695, 420);
    put(kCommand12, 2685, 2565, 1695, 420);
    for (int row = 1; row <= 4; ++row) {
        const int top = kRowTops[row - 1];
        put(kUpDown + row, 150, top, 255, 420);
        put(kText + row, 405, top, 705, 420);
        put(kLabel + row, 1170, top + 30, 4125, 390);
    }
    const SIZE outer = ui::outerSizeForClient(px(kClientWidthTwips), px(kClientHeightTwips), kStyle,
                                              WS_EX_DLGMODALFRAME, false, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void AutoEnd::place() {
    // The main window's move decides: leftTw, topTw from the top-left of the owner's monitor.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    SetWindowPos(hwnd_, nullptr, monitor.rcMonitor.left + ::ui::twipsToPixels(leftTw_, dpi_),
                 monitor.rcMonitor.top + ::ui::twipsToPixels(topTw_, dpi_), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AutoEnd::Form_Load() {
    form_.Form_Load();
    refresh();
}

void AutoEnd::TextClick(int row) {
    form_.TextClick(row);
    refresh();
}

void AutoEnd::UpClick(int row) {
    form_.UpClick(row);
    refresh();
}

void AutoEnd::DownClick(int row) {
    form_.DownClick(row);
    refresh();
}

void AutoEnd::Command11_Click() {
    form_.Command11_Click(host_, state_, clock_);
    refresh();
    unload();
}

void AutoEnd::Command12_Click() {
    form_.Command12_Click(host_, state_);
    refresh();
    unload();
}

void AutoEnd::unload() {
    EndDialog(hwnd_, 0);
}

void AutoEnd::refresh() {
    for (int row = 1; row <= 4; ++row) {
        const std::wstring want = ui::toWide(form_.text(row));
        HWND box = control(kText + row);
        wchar_t have[64] = {};
        GetWindowTextW(box, have, 64);
        if (want == have) continue;
        // Values up to the count rows' 32000 show whole: a value too wide for the design size gets a
        // smaller font, the others keep it.
        fitFont(kText + row, want);
        SetWindowTextW(box, want.c_str());
    }
}

LRESULT CALLBACK AutoEnd::boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR self) {
    auto& dialog = *reinterpret_cast<AutoEnd*>(self);
    const int row = static_cast<int>(id);
    switch (message) {
        case WM_CHAR: {
            int KeyAscii = static_cast<int>(wParam);
            TextKeyPress(KeyAscii);
            if (KeyAscii == 0) return 0;
            wParam = static_cast<WPARAM>(KeyAscii);
            break;
        }
        // Edits that type no character are refused too: the box shows only what the dialog wrote.
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
        case WM_CONTEXTMENU:
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_DELETE) return 0;
            break;
        case WM_LBUTTONUP: {
            // A click is a release of the left button over the box.
            const LRESULT r = DefSubclassProc(box, message, wParam, lParam);
            RECT client{};
            GetClientRect(box, &client);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (PtInRect(&client, at)) dialog.TextClick(row);
            return r;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(box, boxProc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

INT_PTR CALLBACK AutoEnd::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<AutoEnd*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<AutoEnd*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

INT_PTR AutoEnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            dpi_ = ui::windowDpi(owner_);
            createControls();
            layout();
            place();
            Form_Load();
            SetFocus(control(kCommand11));
            return FALSE;  // the focus is set
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            if (id == kCommand11) Command11_Click();
            if (id == kCommand12) Command12_Click();
            // IDOK and IDCANCEL (Enter, Esc) do nothing: the dialog has no default or cancel button.
            return TRUE;
        }
        case WM_NOTIFY: {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            const int row = rowOf(static_cast<int>(hdr->idFrom), kUpDown);
            if (row && hdr->code == UDN_DELTAPOS) {
                const auto* d = reinterpret_cast<const NMUPDOWN*>(lParam);
                if (d->iDelta > 0) UpClick(row);
                if (d->iDelta < 0) DownClick(row);
                // The control's own position stays where it is.
                SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        }
        case WM_CLOSE:
            // Closed by its frame: neither handler runs, nothing is armed or disarmed.
            unload();
            return TRUE;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            layout();
            const auto* r = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd_, nullptr, r->left, r->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void Win32EndSetDialogs::runEndSet(::autoend::MainWindowHost& host, ::autoend::AutoEndState& state,
                                   const ::autoend::IWallClock& clock, double leftTw, double topTw) {
    // The dialog is unloaded after every use, so the next opening starts afresh.
    AutoEnd dialog(host, state, clock, owner_);
    dialog.showModal(leftTw, topTw);
}

}  // namespace win32::autoend
