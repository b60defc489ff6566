#include "win32/drill/ListeningTest.h"

#include <commctrl.h>
#include <commdlg.h>

#include "core/listening/WindowBeside.h"
#include "win32/drill/ListeningSummaryPaint.h"

#include <array>

namespace win32::drill {

namespace {

using ::drill::ListeningLanguage;
using ::drill::ReadingPace;

constexpr wchar_t kWindowClass[] = L"TvxListeningTest";
constexpr wchar_t kSummaryClass[] = L"TvxListeningSummary";
constexpr wchar_t kGothic[] = L"ＭＳ ゴシック";
constexpr COLORREF kWrong = RGB(0xd0, 0x00, 0x00);
constexpr COLORREF kHintInk = RGB(0xc0, 0x00, 0x00);
constexpr COLORREF kRightInk = RGB(0x00, 0x70, 0x00);
constexpr int kClientWidth = 720;
constexpr int kClientHeight = 660;

HFONT gothic(int pixels, int escapement = 0, int weight = FW_NORMAL) {
    return CreateFontW(-pixels, 0, escapement, escapement, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                       kGothic);
}

void registerClasses() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window in WM_NCCREATE's wake
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassExW(&wc);
    wc.lpszClassName = kSummaryClass;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassExW(&wc);
    done = true;
}

std::wstring windowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), n + 1)));
    return s;
}

std::wstring plain(const std::vector<::drill::MarkedChar>& marked) {
    std::wstring s;
    for (const auto& m : marked) s += static_cast<wchar_t>(m.c);
    return s;
}

}  // namespace

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

std::string narrow(const std::wstring& utf16) {
    if (utf16.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

ListeningTest::ListeningTest(HWND owner, const ::drill::ReadOut1State& mainState,
                             ::agent::ICharacters& characters, ::agent::ICharacter& speechChar,
                             std::function<void()> beforeReading, ListeningTestOptions options)
    : owner_(owner), speechChar_(speechChar), askSavePath_(std::move(options.askSavePath)) {
    registerClasses();
    uiFont_ = gothic(14);
    numberFont_ = gothic(26);
    smallFont_ = gothic(12);
    turnedFont_ = gothic(12, 900);
    build();
    ::drill::ListeningControllerDeps deps;
    deps.mainState = &mainState;
    deps.characters = &characters;
    deps.speechChar = &speechChar;
    deps.random = std::move(options.random);
    deps.beforeReading = std::move(beforeReading);
    deps.trace = std::move(options.trace);
    controller_ = std::make_unique<::drill::ListeningController>(std::move(deps), *this);
    controller_->Open();
    placeBesideOwner();
}

ListeningTest::~ListeningTest() {
    if (hwnd_) DestroyWindow(hwnd_);
    for (HFONT f : {uiFont_, numberFont_, smallFont_, turnedFont_}) DeleteObject(f);
}

void ListeningTest::build() {
    RECT frame{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kWindowClass, L"聞き取りテスト", style, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner_,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListeningTest::windowProc));

    const auto add = [this](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                            int id, HFONT font) {
        HWND c = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowSubclass(c, &ListeningTest::controlProc, 1, reinterpret_cast<DWORD_PTR>(this));
        return c;
    };
    add(L"BUTTON", L"英語", BS_AUTORADIOBUTTON | WS_GROUP, 12, 12, 64, 28, kEnglishOption, uiFont_);
    add(L"BUTTON", L"日本語", BS_AUTORADIOBUTTON, 80, 12, 80, 28, kJapaneseOption, uiFont_);
    CheckRadioButton(hwnd_, kEnglishOption, kJapaneseOption, kEnglishOption);
    add(L"BUTTON", L"スタート", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 176, 10, 96, 32, kStartButton,
        uiFont_);
    add(L"BUTTON", L"もう一度", BS_PUSHBUTTON | WS_TABSTOP, 280, 10, 96, 32, kReplayButton, uiFont_);
    add(L"BUTTON", L"ゆっくり", BS_PUSHBUTTON | WS_TABSTOP, 384, 10, 96, 32, kSlowButton, uiFont_);

    add(L"STATIC", L"答え", SS_LEFT, 12, 60, 56, 24, 0, uiFont_);
    HWND answer =
        add(L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 72, 52, 440, 38, kAnswerBox, numberFont_);
    SendMessageW(answer, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"聞こえた数字"));
    SendMessageW(answer, EM_LIMITTEXT, 64, 0);
    add(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 72, 94, 636, 20, kHint, uiFont_);
    add(L"STATIC", L"正解", SS_LEFT, 12, 124, 56, 24, 0, uiFont_);
    add(L"STATIC", L"", SS_OWNERDRAW, 72, 118, 440, 32, kCorrectLine, numberFont_);
    add(L"STATIC", L"あなた", SS_LEFT, 12, 160, 56, 24, 0, uiFont_);
    add(L"STATIC", L"", SS_OWNERDRAW, 72, 154, 440, 32, kAnswerLine, numberFont_);
    add(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 72, 192, 636, 40, kVerdict, uiFont_);

    add(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 12, 238, 696, 20, kCounts, uiFont_);
    HWND summary = CreateWindowExW(WS_EX_CLIENTEDGE, kSummaryClass, L"", WS_CHILD | WS_VISIBLE, 12, 262, 696,
                                   350, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSummary)),
                                   GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(summary, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(summary, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListeningTest::summaryProc));

    add(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 12, 626, 560, 24, kStatus, uiFont_);
    add(L"BUTTON", L"結果を保存…", BS_PUSHBUTTON | WS_TABSTOP, 580, 620, 128, 32, kSaveButton, uiFont_);
}

void ListeningTest::placeBesideOwner() {
    RECT own{}, mine{};
    if (!owner_ || !GetWindowRect(owner_, &own)) return;
    GetWindowRect(hwnd_, &mine);
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& work = mi.rcWork;
    const auto rect = [](const RECT& r) {
        return ::drill::ScreenRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    ::drill::BesideOwnerScene scene;
    scene.screen = rect(work);
    scene.owner = rect(own);
    if (const auto b = speechChar_.Bounds())
        scene.character = ::drill::ScreenRect{b->x, b->y, b->width, b->height};
    const ::drill::BesidePlacement at =
        ::drill::BesideOwner(scene, mine.right - mine.left, mine.bottom - mine.top);
    SetWindowPos(hwnd_, nullptr, at.window.x, at.window.y, at.window.width, at.window.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The character stays above every window: one the test would lie under steps aside.
    if (at.character) {
        if (!characterHome_) characterHome_ = POINT{scene.character->x, scene.character->y};
        speechChar_.MoveTo(at.character->x, at.character->y, 0);
    }
}

void ListeningTest::show() {
    if (!hwnd_) return;
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd_);
    FocusAnswer();
}

LRESULT CALLBACK ListeningTest::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ListeningTest*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->handle(msg, wp, lp);
}

LRESULT ListeningTest::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            command(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_DRAWITEM:
            drawMarked(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
            HDC dc = reinterpret_cast<HDC>(wp);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            if (id == kHint) SetTextColor(dc, kHintInk);
            if (id == kVerdict) SetTextColor(dc, right_ ? kRightInk : kWrong);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) FocusAnswer();
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            if (characterHome_) speechChar_.MoveTo(characterHome_->x, characterHome_->y, 0);
            characterHome_.reset();
            return 0;
        case WM_NCDESTROY: {
            // The session goes with the window.
            const HWND gone = hwnd_;
            hwnd_ = nullptr;
            return DefWindowProcW(gone, msg, wp, lp);
        }
        default:
            return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

LRESULT CALLBACK ListeningTest::controlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                            DWORD_PTR self) {
    auto* test = reinterpret_cast<ListeningTest*>(self);
    if (msg == WM_KEYDOWN && test->key(wp)) return 0;
    // The edit box beeps at the characters of keys it does not take.
    if (msg == WM_CHAR && (wp == L'\r' || wp == L'\n' || wp == 0x1b)) return 0;
    if (msg == WM_GETDLGCODE) return DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTALLKEYS;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &ListeningTest::controlProc, 1);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

bool ListeningTest::key(WPARAM vk) {
    if (!controller_) return false;
    const bool plain =
        GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0;
    if (vk == VK_ESCAPE && plain) {
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        return true;
    }
    if (vk == VK_RETURN && plain) {
        controller_->Enter();
        FocusAnswer();
        return true;
    }
    if (vk == VK_TAB) {
        HWND next = GetNextDlgTabItem(hwnd_, GetFocus(), GetKeyState(VK_SHIFT) < 0);
        if (next) SetFocus(next);
        return true;
    }
    return false;
}

void ListeningTest::command(int id, int code) {
    if (!controller_) return;  // still being built
    switch (id) {
        case kEnglishOption:
        case kJapaneseOption:
            // Checked here too: under Wine a clicked auto radio button of this window stayed unchecked.
            if (code == BN_CLICKED) CheckRadioButton(hwnd_, kEnglishOption, kJapaneseOption, id);
            break;
        case kStartButton:
            if (code == BN_CLICKED) controller_->Start();
            break;
        case kReplayButton:
            if (code == BN_CLICKED) controller_->Replay(ReadingPace::Normal);
            break;
        case kSlowButton:
            if (code == BN_CLICKED) controller_->Replay(ReadingPace::Slow);
            break;
        case kSaveButton:
            if (code == BN_CLICKED) controller_->Save();
            break;
        case kAnswerBox:
            if (code == EN_CHANGE && !settingAnswer_) controller_->AnswerEdited();
            break;
        default:
            break;
    }
}

void ListeningTest::drawMarked(const DRAWITEMSTRUCT& item) {
    const auto& marks = item.CtlID == kCorrectLine ? correctMarks_ : answerMarks_;
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, numberFont_);
    int x = item.rcItem.left;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - tm.tmHeight) / 2;
    for (const ::drill::MarkedChar& m : marks) {
        const wchar_t c = static_cast<wchar_t>(m.c);
        SIZE size{};
        GetTextExtentPoint32W(dc, &c, 1, &size);
        SetTextColor(dc, m.wrong ? kWrong : GetSysColor(COLOR_WINDOWTEXT));
        TextOutW(dc, x, y, &c, 1);
        if (m.wrong) {
            // Underlined as well as red: the mark must not rest on colour alone.
            const RECT under{x, y + tm.tmAscent + 2, x + size.cx, y + tm.tmAscent + 4};
            HBRUSH red = CreateSolidBrush(kWrong);
            FillRect(dc, &under, red);
            DeleteObject(red);
        }
        x += size.cx;
    }
    SelectObject(dc, old);
}

LRESULT CALLBACK ListeningTest::summaryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ListeningTest*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT || !self) return DefWindowProcW(hwnd, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    // Drawn off screen first: fifteen bars and their labels flicker otherwise.
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(mem, bitmap);
    const RECT inner{client.left + 6, client.top + 6, client.right - 6, client.bottom - 6};
    FillRect(mem, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    paintListeningSummary(mem, inner, self->summary_, {self->smallFont_, self->turnedFont_});
    BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    EndPaint(hwnd, &ps);
    return 0;
}

ListeningLanguage ListeningTest::ChosenLanguage() const {
    return IsDlgButtonChecked(hwnd_, kJapaneseOption) == BST_CHECKED ? ListeningLanguage::Japanese
                                                                     : ListeningLanguage::English;
}

std::string ListeningTest::AnswerText() const {
    return narrow(windowText(control(kAnswerBox)));
}

void ListeningTest::ClearAnswer() {
    settingAnswer_ = true;
    SetWindowTextW(control(kAnswerBox), L"");
    settingAnswer_ = false;
}

void ListeningTest::SetHint(const std::string& text) {
    SetWindowTextW(control(kHint), widen(text).c_str());
}

void ListeningTest::SetStatus(const std::string& text) {
    SetWindowTextW(control(kStatus), widen(text).c_str());
}

void ListeningTest::ShowResult(const ::drill::ListeningResult& result) {
    correctMarks_ = result.correct;
    answerMarks_ = result.answer;
    right_ = result.right;
    // The texts are the plain grouped numbers, for screen readers and tests; the marks are drawn.
    SetWindowTextW(control(kCorrectLine), plain(correctMarks_).c_str());
    SetWindowTextW(control(kAnswerLine), plain(answerMarks_).c_str());
    SetWindowTextW(control(kVerdict), widen(result.verdict).c_str());
    for (int id : {kCorrectLine, kAnswerLine, kVerdict}) InvalidateRect(control(id), nullptr, TRUE);
}

void ListeningTest::ClearResult() {
    ShowResult({});
}

void ListeningTest::SetReplayEnabled(bool enabled) {
    EnableWindow(control(kReplayButton), enabled);
    EnableWindow(control(kSlowButton), enabled);
}

void ListeningTest::ShowSummary(const ::drill::ListeningSummary& summary) {
    summary_ = summary;
    SetWindowTextW(control(kCounts), widen(summary.counts).c_str());
    InvalidateRect(control(kSummary), nullptr, FALSE);
}

void ListeningTest::FocusAnswer() {
    if (!hwnd_) return;
    HWND box = control(kAnswerBox);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
}

std::filesystem::path ListeningTest::AskSavePath() {
    if (askSavePath_) return askSavePath_(hwnd_);
    std::array<wchar_t, 32768> file{};
    const std::wstring initial = L"聞き取りテスト.csv";
    initial.copy(file.data(), initial.size());
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = L"CSV (*.csv)\0*.csv\0";
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = L"結果を保存";
    ofn.lpstrDefExt = L"csv";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    const bool chosen = GetSaveFileNameW(&ofn);
    FocusAnswer();
    return chosen ? std::filesystem::path(file.data()) : std::filesystem::path();
}

ListeningTestMenu::ListeningTestMenu(HWND owner, const ::drill::ReadOut1State& mainState,
                                     ::agent::ICharacters& characters, ::agent::ICharacter& speechChar,
                                     std::function<void()> stopDrill)
    : owner_(owner),
      mainState_(mainState),
      characters_(characters),
      speechChar_(speechChar),
      stopDrill_(std::move(stopDrill)) {}

bool ListeningTestMenu::insertInto(HMENU menuBar, UINT beforeCommandId, UINT commandId) {
    MENUITEMINFOW probe{};
    probe.cbSize = sizeof probe;
    if (!GetMenuItemInfoW(menuBar, beforeCommandId, FALSE, &probe)) return false;
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
    item.fType = MFT_STRING;
    item.wID = commandId;
    wchar_t text[] = L"聞き取りテスト";
    item.dwTypeData = text;
    return InsertMenuItemW(menuBar, beforeCommandId, FALSE, &item) != FALSE;
}

void ListeningTestMenu::open() {
    // The test and the drill would talk over each other: the drill stops, and stops again at each reading.
    if (stopDrill_) stopDrill_();
    if (!window_ || !window_->isOpen())
        window_ = std::make_unique<ListeningTest>(owner_, mainState_, characters_, speechChar_, stopDrill_,
                                                  options ? options() : ListeningTestOptions{});
    window_->show();
}

ListeningTest* ListeningTestMenu::window() const {
    return window_ && window_->isOpen() ? window_.get() : nullptr;
}

}  // namespace win32::drill
