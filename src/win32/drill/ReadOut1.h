#pragma once

#include "core/agent/AgentApi.h"
#include "core/autoend/MainWindowHost.h"
#include "core/drill/ReadOut1Logic.h"
#include "win32/drill/ListeningTest.h"
#include "win32/ui/WindowTimer.h"

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace autoend {
class AutoEndController;
class EndSetDialogs;
}  // namespace autoend

namespace platform {
class IPower;
}

namespace win32::drill {

// The drill's main window over Win32 controls. It holds no drill rule: clicks and ticks go to the
// toolkit-free logic, which reads and writes the controls through the view interfaces below.
class ReadOut1 : private ::drill::NumberTexts,
                 private ::drill::PlaceBoxView,
                 private ::drill::DrillView,
                 private ::autoend::MainWindowHost {
public:
    using AgentFactory = std::function<std::unique_ptr<::agent::IAgent>(HWND owner)>;

    // power: the auto-end's shutdown requests; null means the machine's own.
    ReadOut1(HINSTANCE instance, AgentFactory agent, std::string programDirectory,
             std::unique_ptr<platform::IPower> power = nullptr);
    ~ReadOut1() override;
    ReadOut1(const ReadOut1&) = delete;
    ReadOut1& operator=(const ReadOut1&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Start-up; throws (AgentError) when the character cannot be loaded. The window is not shown yet.
    void Form_Load();
    void show();

    void Option1_Click(int index);
    void Copyright_Click();
    // シャットダウン指定: opens the "End Set" dialog modally.
    void Command6_Click();
    // 中止 in Frame1: disarms the auto-end.
    void Command10_Click();
    // The countdown tick, public: the dialog calls it once when it arms.
    void ejtimer2_timer() override;
    // 聞き取りテスト: the listening test, beside the drill.
    void ListeningTestMenu_Click();

    ::drill::ReadOut1State& State() { return logic_->State(); }

private:
    // NumberTexts
    std::string command1Caption() const override;
    void setCommand1Caption(const std::string& text) override;
    std::string command2Caption() const override;
    void setCommand2Caption(const std::string& text) override;
    std::string text2Text() const override;
    void setText2Text(const std::string& text) override;
    // PlaceBoxView
    void setPlaceBoxTicked(::drill::PlaceColumn column, int index, bool ticked) override;
    // DrillView
    void focusStartButton(::drill::StartButton button) override;
    void ResetStartButtonColors() override;
    void colourStartButtonPink(::drill::StartButton button) override;
    void setCommand3Caption(const std::string& caption) override;
    int upDown1Increment() const override;
    // MainWindowHost
    platform::ITimer& getEjTimer2() override { return *ejTimer2_; }
    void setCommand6Enabled(bool enabled) override;
    void setLabel4Visible(bool visible) override;
    void showFrame1() override;
    void hideFrame1() override;
    void setCommand9Caption(const std::string& caption) override;
    std::int16_t getRecCount1() const override { return logic_->State().RecCount1; }
    void setRecCount1(std::int16_t value) override { logic_->State().RecCount1 = value; }
    std::string getWinEdition() const override { return logic_->State().WinEdition; }
    void quitProgram() override;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void layout();
    void command(int id, int code);
    void drawButton(const DRAWITEMSTRUCT& item);
    void drawVersionItem(const DRAWITEMSTRUCT& item);
    void centre();
    void placeCharacter();
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }
    std::string text(int id) const;
    void setText(int id, const std::string& text);

    HINSTANCE instance_;
    AgentFactory agentFactory_;
    std::string directory_;
    HWND hwnd_ = nullptr;
    HMENU menu_ = nullptr;
    std::wstring versionCaption_;
    unsigned dpi_ = 96;
    std::array<HFONT, 6> fonts_{};
    std::array<COLORREF, 4> startColours_{};
    std::unique_ptr<::agent::IAgent> agent_;
    ::agent::ICharacter* speechChar_ = nullptr;
    std::unique_ptr<ui::WindowTimer> timer1_, timer3_, timer4_;
    std::unique_ptr<::drill::ReadOut1Logic> logic_;
    std::unique_ptr<ui::WindowTimer> ejTimer2_;
    std::unique_ptr<::autoend::EndSetDialogs> endSet_;
    std::unique_ptr<::autoend::AutoEndController> autoEnd_;
    std::unique_ptr<ListeningTestMenu> listeningTestMenu_;  // after logic_: closed before it goes
};

}  // namespace win32::drill
