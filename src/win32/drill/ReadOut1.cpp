#include "win32/drill/ReadOut1.h"

#include "core/autoend/AutoEndController.h"
#include "core/drill/WindowPlacement.h"
#include "core/ui/Twips.h"
#include "platform/EditionLookup.h"
#include "platform/Power.h"
#include "win32/agent/SapiAgent.h"
#include "win32/autoend/AutoEnd.h"
#include "win32/drill/DrillTexts.h"
#include "win32/ui/Dpi.h"
#include "win32/ui/Fonts.h"
#include "win32/ui/WideText.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace win32::drill {

namespace {
enum ControlId : int {
    kCommand1 = 101,
    kCommand2,
    kCommand3,
    kCommand4,
    kCommand5,
    kCommand6,
    kCommand7,
    kCommand8,
    kCommand9,
    kCommand10,
    kOption1_0,
    kOption1_1,
    kFrame1,
    kLabel1,
    kLabel2,
    kLabel4,
    kText2,
    kUpDown1,
    kCheck1 = 200,  // + index 1..15
    kCheck2 = 300,  // + index 1..15
    kMenuCopyright = 900,
    kMenuVersion,
    kMenuListeningTest,
};

constexpr wchar_t kClassName[] = L"TallyvoxNumberReadOut1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kClientWidthTwips = 11745;
constexpr int kClientHeightTwips = 6405;
constexpr int kUpDown1Increment = 200;

// Font sizes in use, in the order of ReadOut1::fonts_.
constexpr std::array<double, 6> kFontPoints = {11.25, 12, 14.25, 36, 15.75, 9};
enum FontIndex { kPt1125, kPt12, kPt1425, kPt36 };

struct Placed {
    int id;
    const wchar_t* className;
    const char* caption;
    DWORD style;
    int left, top, width, height;  // twips in the client area
    int font;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kOwnerDrawn = kChild | WS_TABSTOP | BS_OWNERDRAW;

// Every control at its design-time rectangle. Command9 and Command10 belong to Frame1 (their twips
// are relative to it); they are children of the window so that their clicks reach it directly.
const Placed kControls[] = {
    {kCommand4, L"BUTTON", "数字読上げ　英⇒日", kOwnerDrawn, 270, 315, 2490, 525, kPt1125},
    {kCommand5, L"BUTTON", "数字読上げ　日⇒英", kOwnerDrawn, 3000, 315, 2490, 525, kPt1125},
    {kCommand6, L"BUTTON", "シャットダウン指定", kChild | WS_TABSTOP | BS_PUSHBUTTON, 5730, 330, 2490, 525,
     kPt1125},
    {kCommand7, L"BUTTON", "英語だけ", kOwnerDrawn, 285, 990, 2490, 525, kPt12},
    {kCommand8, L"BUTTON", "日本語だけ", kOwnerDrawn, 2970, 990, 2490, 525, kPt12},
    {kOption1_0, L"BUTTON", "吹き出しを表示しない", kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 5595,
     975, 2880, 300, kPt1125},
    {kOption1_1, L"BUTTON", "吹き出しを表示する", kChild | BS_AUTORADIOBUTTON, 5595, 1260, 2880, 300,
     kPt1125},
    {kCommand1, L"BUTTON", "Command1", kOwnerDrawn, 270, 1725, 7920, 810, kPt36},
    {kFrame1, L"BUTTON", "", kChild | BS_GROUPBOX, 2355, 3285, 4380, 1320, kPt1125},
    {kCommand9, L"BUTTON", "Command9", kChild | WS_TABSTOP | BS_PUSHBUTTON, 2355 + 105, 3285 + 330, 4140, 465,
     kPt1125},
    {kCommand10, L"BUTTON", "中止", kChild | WS_TABSTOP | BS_PUSHBUTTON, 2355 + 105, 3285 + 810, 4140, 465,
     kPt12},
    {kLabel4, L"STATIC", "", kChild | SS_LEFT, 420, 3795, 7860, 1050, kPt12},
    {kUpDown1, UPDOWN_CLASSW, "", kChild | UDS_ARROWKEYS, 2010, 5295, 255, 465, -1},
    {kCommand3, L"BUTTON", "日 - 英 の間隔を長くする／縮める", kChild | WS_TABSTOP | BS_PUSHBUTTON, 2265,
     5295, 4695, 465, kPt12},
    {kText2, L"EDIT", "Text2", kChild | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER, 7140, 5325, 750, 690, kPt1125},
    {kCommand2, L"BUTTON", "Command2", kOwnerDrawn, 360, 5790, 7920, 315, kPt1425},
    {kLabel1, L"STATIC", "範囲指定", kChild | SS_LEFT, 8895, 45, 1050, 285, kPt1125},
    {kLabel2, L"STATIC", "桁指定", kChild | SS_LEFT, 10230, 60, 840, 255, kPt1125},
};

constexpr const char* kPlaceCaptions[16] = {"",     "一",   "十",   "百",   "千",   "万",   "十万", "百万",
                                            "千万", "一億", "十億", "百億", "千億", "一兆", "十兆", "百兆"};
constexpr std::array<int, 15> kCheck2TopsFrom15 = {420,  795,  1170, 1530, 1905, 2280, 2655, 3030,
                                                   3390, 3765, 4155, 4515, 4890, 5265, 5640};

int check1Top(int p) {
    return p == 1 ? 5640 : 450 + (15 - p) * 370;
}

COLORREF rgb(::drill::Rgb c) {
    return RGB(c.red, c.green, c.blue);
}

int startIndex(::drill::StartButton b) {
    switch (b) {
        case ::drill::StartButton::Command4:
            return 0;
        case ::drill::StartButton::Command5:
            return 1;
        case ::drill::StartButton::Command7:
            return 2;
        case ::drill::StartButton::Command8:
            return 3;
    }
    return 0;
}

constexpr int kStartIds[4] = {kCommand4, kCommand5, kCommand7, kCommand8};

}  // namespace

ReadOut1::ReadOut1(HINSTANCE instance, AgentFactory agent, std::string programDirectory,
                   std::unique_ptr<platform::IPower> power)
    : instance_(instance), agentFactory_(std::move(agent)), directory_(std::move(programDirectory)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    menu_ = CreateMenu();
    AppendMenuW(menu_, MF_STRING, kMenuCopyright, ui::toWide("◆ Copyright").c_str());
    AppendMenuW(menu_, MF_STRING, kMenuVersion, ui::toWide(std::string(132, ' ') + "(バージョン").c_str());
    ListeningTestMenu::insertInto(menu_, kMenuVersion, kMenuListeningTest);

    hwnd_ = CreateWindowExW(0, kClassName, ui::toWide(kWindowCaption).c_str(), kStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu_, instance, this);
    if (!hwnd_) throw ::agent::AgentError("the main window could not be created");
    dpi_ = ui::windowDpi(hwnd_);
    createControls();
    layout();

    auto& self = *this;
    timer1_ = std::make_unique<ui::WindowTimer>(hwnd_, [&self] { self.logic_->Sequencer().Timer1_Timer(); });
    timer3_ = std::make_unique<ui::WindowTimer>(hwnd_, [&self] { self.logic_->Sequencer().Timer3_Timer(); });
    timer4_ = std::make_unique<ui::WindowTimer>(hwnd_, [&self] { self.logic_->Sequencer().Timer4_Timer(); });
    timer1_->setInterval(2000);  // design-time interval; Form_Load disables it
    agent_ = agentFactory_(hwnd_);
    logic_ = std::make_unique<::drill::ReadOut1Logic>(
        ::drill::ReadOut1Controls{*this, *this, *this, agent_->Characters(), *timer1_, *timer3_, *timer4_});
    // No interval at design time: it ticks once the dialog arms an auto-end.
    ejTimer2_ = std::make_unique<ui::WindowTimer>(hwnd_, [&self] { self.ejtimer2_timer(); });
    endSet_ = std::make_unique<autoend::Win32EndSetDialogs>(hwnd_);
    ::autoend::MainWindowHost& host = *this;
    autoEnd_ = std::make_unique<::autoend::AutoEndController>(host, *endSet_, std::move(power));
}

ReadOut1::~ReadOut1() {
    // The window goes first: no tick or speech event is handled once the members are being destroyed.
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    for (HFONT f : fonts_)
        if (f) DeleteObject(f);
}

void ReadOut1::createControls() {
    for (const Placed& c : kControls) {
        CreateWindowExW(c.id == kText2 ? WS_EX_CLIENTEDGE : 0, c.className, ui::toWide(c.caption).c_str(),
                        c.style, 0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                        instance_, nullptr);
    }
    for (int p = 1; p <= 15; ++p) {
        for (const int base : {kCheck1, kCheck2}) {
            // Not an automatic box: the place selection sets every tick itself, the learner's too.
            CreateWindowExW(0, L"BUTTON", ui::toWide(kPlaceCaptions[p]).c_str(),
                            kChild | WS_TABSTOP | BS_CHECKBOX, 0, 0, 0, 0, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(base + p)), instance_, nullptr);
        }
    }
    // The UpDown's own value is not used: a range in the middle keeps both arrows live for ever.
    SendMessageW(control(kUpDown1), UDM_SETRANGE32, 0, 100);
    SendMessageW(control(kUpDown1), UDM_SETPOS32, 0, 50);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    startColours_ = {face, face, face, face};
}

void ReadOut1::layout() {
    for (HFONT& f : fonts_) {
        if (f) DeleteObject(f);
        f = nullptr;
    }
    for (std::size_t i = 0; i < fonts_.size(); ++i) fonts_[i] = ui::createGothicFont(kFontPoints[i], dpi_);
    const auto px = [this](int twips) { return ::ui::twipsToPixels(twips, dpi_); };
    const auto put = [&](int id, int l, int t, int w, int h, int font) {
        HWND c = control(id);
        MoveWindow(c, px(l), px(t), px(w), px(h), FALSE);
        if (font >= 0)
            SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[static_cast<std::size_t>(font)]),
                         FALSE);
    };
    for (const Placed& c : kControls) put(c.id, c.left, c.top, c.width, c.height, c.font);
    for (int p = 1; p <= 15; ++p) {
        put(kCheck1 + p, 10290, check1Top(p), 1335, 300, kPt1125);
        put(kCheck2 + p, 8955, kCheck2TopsFrom15[static_cast<std::size_t>(15 - p)], 975, 300, kPt1125);
    }
    const SIZE outer =
        ui::outerSizeForClient(px(kClientWidthTwips), px(kClientHeightTwips), kStyle, 0, true, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame lies under its buttons.
    SetWindowPos(control(kFrame1), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ReadOut1::Form_Load() {
    ::drill::ReadOut1State& s = logic_->State();
    s.BalloonOn = false;
    setText(kLabel4, explanationText());
    SendMessageW(control(kOption1_0), BM_SETCHECK, BST_CHECKED, 0);
    Option1_Click(0);
    ShowWindow(control(kCommand2), SW_HIDE);
    s.RecCount1 = 0;
    for (int id : {kFrame1, kCommand9, kCommand10}) ShowWindow(control(id), SW_HIDE);
    ShowWindow(control(kText2), SW_HIDE);
    s.EnJaFirstDue = false;
    s.JaEnFirstDue = false;
    timer1_->setEnabled(false);
    timer3_->setEnabled(false);

    agent_->Characters().Load("peedy", directory_ + "\\PEEDY.acs");
    speechChar_ = &agent_->Characters().Item("peedy");
    logic_->SetSpeechChar(*speechChar_);
    speechChar_->Show();
    speechChar_->Balloon().setFontSize(30);
    // The test reads through the same character and stops the drill before each reading.
    listeningTestMenu_ = std::make_unique<ListeningTestMenu>(
        hwnd_, State(), agent_->Characters(), *speechChar_, [this] { logic_->Sequencer().Stop(); });
    setCommand1Caption("");
    setCommand2Caption("");
    centre();
    placeCharacter();
    versionCaption_ = ui::toWide(versionMenuCaption());
    // Owner-drawn: the caption keeps its 132 spaces, and the item takes the rest of the bar instead of
    // wrapping onto a second row where the spaces are wider than the bar (the text ends at the right).
    ModifyMenuW(menu_, kMenuVersion, MF_BYCOMMAND | MF_OWNERDRAW, kMenuVersion,
                reinterpret_cast<LPCWSTR>(versionCaption_.c_str()));
    DrawMenuBar(hwnd_);
    State().WinEdition = platform::editionTag(platform::productName(*platform::createSystemRegistry()));
}

void ReadOut1::show() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
}

void ReadOut1::centre() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const double tpp = ::ui::kTwipsPerInch / dpi_;
    const ::drill::TwipsPoint p =
        ::drill::centredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), tpp, tpp,
                                 (r.right - r.left) * tpp, (r.bottom - r.top) * tpp);
    SetWindowPos(hwnd_, nullptr, static_cast<int>(std::lround(p.left / tpp)),
                 static_cast<int>(std::lround(p.top / tpp)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReadOut1::placeCharacter() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const double tpp = ::ui::kTwipsPerInch / dpi_;
    const ::drill::PixelPoint at =
        ::drill::characterPlacement(r.left * tpp, r.top * tpp, (r.bottom - r.top) * tpp);
    speechChar_->MoveTo(at.x, at.y, 0);
}

void ReadOut1::Option1_Click(int index) {
    logic_->State().BalloonOn = index != 0;
}

void ReadOut1::Command6_Click() {
    autoEnd_->Command6_Click();
}

void ReadOut1::Command10_Click() {
    autoEnd_->Command10_Click();
}

void ReadOut1::ejtimer2_timer() {
    autoEnd_->ejtimer2_timer();
}

void ReadOut1::setCommand6Enabled(bool enabled) {
    EnableWindow(control(kCommand6), enabled ? TRUE : FALSE);
}

void ReadOut1::setLabel4Visible(bool visible) {
    ShowWindow(control(kLabel4), visible ? SW_SHOW : SW_HIDE);
}

void ReadOut1::showFrame1() {
    // In front of Label4, which it partly covers; its buttons stay in front of it.
    for (const int id : {kFrame1, kCommand9, kCommand10}) {
        SetWindowPos(control(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(control(id), SW_SHOWNA);
    }
}

void ReadOut1::hideFrame1() {
    for (const int id : {kCommand9, kCommand10, kFrame1}) ShowWindow(control(id), SW_HIDE);
}

void ReadOut1::setCommand9Caption(const std::string& caption) {
    // Rewritten every half second: an unchanged caption is not repainted.
    if (text(kCommand9) != caption) setText(kCommand9, caption);
}

void ReadOut1::quitProgram() {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void ReadOut1::ListeningTestMenu_Click() {
    if (listeningTestMenu_) listeningTestMenu_->open();
}

void ReadOut1::Copyright_Click() {
    MessageBoxW(hwnd_, ui::toWide(aboutText()).c_str(), ui::toWide(kProgramTitle).c_str(), MB_OK);
}

std::string ReadOut1::text(int id) const {
    HWND c = control(id);
    const int n = GetWindowTextLengthW(c);
    std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
    GetWindowTextW(c, w.data(), n + 1);
    w.resize(static_cast<std::size_t>(n));
    return ui::toUtf8(w);
}

void ReadOut1::setText(int id, const std::string& t) {
    SetWindowTextW(control(id), ui::toWide(t).c_str());
}

std::string ReadOut1::command1Caption() const {
    return text(kCommand1);
}
void ReadOut1::setCommand1Caption(const std::string& t) {
    setText(kCommand1, t);
    if (speechChar_) speechChar_->setBalloonSubject(t);
}
std::string ReadOut1::command2Caption() const {
    return text(kCommand2);
}
void ReadOut1::setCommand2Caption(const std::string& t) {
    setText(kCommand2, t);
}
std::string ReadOut1::text2Text() const {
    return text(kText2);
}
void ReadOut1::setText2Text(const std::string& t) {
    setText(kText2, t);
}

void ReadOut1::setPlaceBoxTicked(::drill::PlaceColumn column, int index, bool ticked) {
    const int base = column == ::drill::PlaceColumn::Check1 ? kCheck1 : kCheck2;
    SendMessageW(control(base + index), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ReadOut1::focusStartButton(::drill::StartButton button) {
    SetFocus(control(kStartIds[startIndex(button)]));
}

void ReadOut1::ResetStartButtonColors() {
    for (int i = 0; i < 4; ++i) {
        startColours_[static_cast<std::size_t>(i)] = GetSysColor(COLOR_BTNFACE);
        InvalidateRect(control(kStartIds[i]), nullptr, TRUE);
    }
}

void ReadOut1::colourStartButtonPink(::drill::StartButton button) {
    const int i = startIndex(button);
    startColours_[static_cast<std::size_t>(i)] = rgb(::drill::kStartButtonPink);
    InvalidateRect(control(kStartIds[i]), nullptr, TRUE);
}

void ReadOut1::setCommand3Caption(const std::string& caption) {
    setText(kCommand3, caption);
}
int ReadOut1::upDown1Increment() const {
    return kUpDown1Increment;
}

void ReadOut1::drawButton(const DRAWITEMSTRUCT& item) {
    COLORREF back = GetSysColor(COLOR_BTNFACE);
    for (int i = 0; i < 4; ++i)
        if (static_cast<int>(item.CtlID) == kStartIds[i]) back = startColours_[static_cast<std::size_t>(i)];
    if (item.CtlID == kCommand1) back = GetSysColor(COLOR_BTNHIGHLIGHT);  // system colour 20
    if (item.CtlID == kCommand2) back = GetSysColor(COLOR_HIGHLIGHT);     // system colour 14 (text)
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawEdge(item.hDC, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(item.hDC, &r, brush);
    DeleteObject(brush);
    wchar_t caption[256] = {};
    GetWindowTextW(item.hwndItem, caption, 256);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old =
        SelectObject(item.hDC, reinterpret_cast<HGDIOBJ>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    if (pushed) OffsetRect(&r, 1, 1);
    DrawTextW(item.hDC, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item.hDC, old);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&r, -2, -2);
        DrawFocusRect(item.hDC, &r);
    }
}

void ReadOut1::drawVersionItem(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_MENU));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HGDIOBJ old = SelectObject(item.hDC, font);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_MENUTEXT));
    r.right -= 6;
    DrawTextW(item.hDC, versionCaption_.c_str(), -1, &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item.hDC, old);
    DeleteObject(font);
}

void ReadOut1::command(int id, int code) {
    ::drill::DrillSequencer& seq = logic_->Sequencer();
    if (id == kMenuCopyright) return Copyright_Click();
    if (id == kMenuListeningTest) return ListeningTestMenu_Click();
    if (code != BN_CLICKED) return;
    switch (id) {
        case kCommand4:
            return seq.Command4_Click();
        case kCommand5:
            return seq.Command5_Click();
        case kCommand7:
            return seq.Command7_Click();
        case kCommand8:
            return seq.Command8_Click();
        case kOption1_0:
            return Option1_Click(0);
        case kOption1_1:
            return Option1_Click(1);
        case kCommand6:
            return Command6_Click();
        case kCommand10:
            return Command10_Click();
        default:
            break;
    }
    if (id > kCheck1 && id <= kCheck1 + 15) logic_->Places().ClickCheck1(id - kCheck1);
    if (id > kCheck2 && id <= kCheck2 + 15) logic_->Places().ClickCheck2(id - kCheck2);
}

LRESULT CALLBACK ReadOut1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ReadOut1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<ReadOut1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->logic_) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT ReadOut1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case ui::WindowTimer::kTickMessage:
            ui::WindowTimer::dispatch(wParam, lParam);
            return 0;
        case agent::SapiAgent::kSpeechEventMessage:
            if (auto* sapi = dynamic_cast<agent::SapiAgent*>(agent_.get())) sapi->speechEvents();
            return 0;
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (m->CtlType != ODT_MENU) break;
            // The version (the last item) takes what the items before it leave of the bar.
            RECT client{};
            GetClientRect(hwnd_, &client);
            LONG used = 0;
            for (int i = 0; i + 1 < GetMenuItemCount(menu_); ++i) {
                RECT item{};
                GetMenuItemRect(hwnd_, menu_, static_cast<UINT>(i), &item);
                used += item.right - item.left;
            }
            m->itemWidth = static_cast<UINT>(std::max<LONG>(40, client.right - used - 24));
            m->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlType == ODT_MENU) {
                drawVersionItem(item);
                return TRUE;
            }
            drawButton(item);
            return TRUE;
        }
        case WM_NOTIFY: {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (hdr->idFrom == kUpDown1 && hdr->code == UDN_DELTAPOS) {
                const auto* d = reinterpret_cast<const NMUPDOWN*>(lParam);
                if (d->iDelta > 0) logic_->Sequencer().UpDown1_UpClick();
                if (d->iDelta < 0) logic_->Sequencer().UpDown1_DownClick();
                return TRUE;  // the control's own position stays where it is
            }
            break;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            layout();
            const auto* r = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd_, nullptr, r->left, r->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            // Unloading ends the program: the drill and the countdown stop before the window goes.
            logic_->Sequencer().Stop();
            ejTimer2_->setEnabled(false);
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace win32::drill
