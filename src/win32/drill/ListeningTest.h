#pragma once

#include <windows.h>

#include "core/agent/AgentApi.h"
#include "core/drill/RandomSource.h"
#include "core/drill/ReadOut1State.h"
#include "core/listening/ListeningController.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// The listening test of the Win32 drill: a window over the same controller as the Linux one.
namespace win32::drill {

// What tests and the drill may put in besides the essentials.
struct ListeningTestOptions {
    // Null gives a generator seeded from the clock.
    std::unique_ptr<::drill::RandomSource> random;
    // Asks where to save the CSV; an empty path saves nothing. Null asks with the common file dialog.
    std::function<std::filesystem::path(HWND owner)> askSavePath;
    // Receives the controller's trace lines ("number 472", "result wrong ...").
    std::function<void(const std::string&)> trace;
};

// The window's controls, by id, so that tests can read the window back.
enum ListeningControl : int {
    kEnglishOption = 101,
    kJapaneseOption,
    kStartButton,
    kReplayButton,
    kSlowButton,
    kAnswerBox,
    kHint,
    kCorrectLine,
    kAnswerLine,
    kVerdict,
    kCounts,
    kSummary,
    kStatus,
    kSaveButton,
};

// A tool window owned by the drill's window; its session lives exactly as long as the window.
class ListeningTest final : public ::drill::ListeningView {
public:
    ListeningTest(HWND owner, const ::drill::ReadOut1State& mainState, ::agent::ICharacters& characters,
                  ::agent::ICharacter& speechChar, std::function<void()> beforeReading,
                  ListeningTestOptions options = {});
    ~ListeningTest() override;
    ListeningTest(const ListeningTest&) = delete;
    ListeningTest& operator=(const ListeningTest&) = delete;

    HWND hwnd() const { return hwnd_; }
    // False once the learner closed the window (Esc or the close box).
    bool isOpen() const { return hwnd_ != nullptr; }
    // Shows, raises and puts the focus in the answer box.
    void show();

    const ::drill::ListeningController& controller() const { return *controller_; }

    // ListeningView
    ::drill::ListeningLanguage ChosenLanguage() const override;
    std::string AnswerText() const override;
    void ClearAnswer() override;
    void SetHint(const std::string& text) override;
    void SetStatus(const std::string& text) override;
    void ShowResult(const ::drill::ListeningResult& result) override;
    void ClearResult() override;
    void SetReplayEnabled(bool enabled) override;
    void ShowSummary(const ::drill::ListeningSummary& summary) override;
    void FocusAnswer() override;
    std::filesystem::path AskSavePath() override;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR self);
    static LRESULT CALLBACK summaryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void build();
    void placeBesideOwner();
    void command(int id, int code);
    // Enter and Esc reach us from whichever control has the focus; none is a default button.
    bool key(WPARAM vk);
    void drawMarked(const DRAWITEMSTRUCT& item);
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }

    HWND owner_;
    ::agent::ICharacter& speechChar_;
    // Where the character stood before it stepped aside; it goes back when the window closes.
    std::optional<POINT> characterHome_;
    HWND hwnd_ = nullptr;
    HFONT uiFont_ = nullptr;
    HFONT numberFont_ = nullptr;
    HFONT smallFont_ = nullptr;
    HFONT turnedFont_ = nullptr;
    std::function<std::filesystem::path(HWND)> askSavePath_;
    std::unique_ptr<::drill::ListeningController> controller_;
    std::vector<::drill::MarkedChar> correctMarks_;
    std::vector<::drill::MarkedChar> answerMarks_;
    bool right_ = false;
    bool settingAnswer_ = false;
    ::drill::ListeningSummary summary_;
};

// The drill's menu item "聞き取りテスト": put it in the menu bar, and call open() from its command.
class ListeningTestMenu {
public:
    // What the window is built from; the references outlive this object.
    ListeningTestMenu(HWND owner, const ::drill::ReadOut1State& mainState, ::agent::ICharacters& characters,
                      ::agent::ICharacter& speechChar, std::function<void()> stopDrill);

    // Inserts "聞き取りテスト" with commandId before the item beforeCommandId (Version), which keeps
    // its right-justified place. Returns false when there is no such item.
    static bool insertInto(HMENU menuBar, UINT beforeCommandId, UINT commandId);

    // ListeningTestMenu_Click: stops the drill, opens the window or raises the open one with its session.
    void open();
    // The open window, or null.
    ListeningTest* window() const;

    // Options for the next window opened (tests: scripted numbers, a save path, a trace).
    std::function<ListeningTestOptions()> options;

private:
    HWND owner_;
    const ::drill::ReadOut1State& mainState_;
    ::agent::ICharacters& characters_;
    ::agent::ICharacter& speechChar_;
    std::function<void()> stopDrill_;
    std::unique_ptr<ListeningTest> window_;
};

// UTF-8 <-> UTF-16 for the window texts.
std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);

}  // namespace win32::drill
