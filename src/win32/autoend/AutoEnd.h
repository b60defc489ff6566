#pragma once

#include "core/autoend/AutoEndController.h"
#include "core/autoend/AutoEndForm.h"

#include <windows.h>

#include <array>
#include <map>
#include <string>

namespace win32::autoend {

// The "End Set" dialog over Win32 controls: four rows (minutes to shutdown, minutes to quit, numbers
// to shutdown, numbers to quit), each an arrow pair, a box that shows the value and a label, and the
// buttons 実行 and 中止. The learner chooses a row by clicking its box and steps it with the arrows;
// nothing is typed. Every rule is AutoEndForm's; this class only shows its texts.
class AutoEnd {
public:
    AutoEnd(::autoend::MainWindowHost& host, ::autoend::AutoEndState& state,
            const ::autoend::IWallClock& clock, HWND owner);
    AutoEnd(const AutoEnd&) = delete;
    AutoEnd& operator=(const AutoEnd&) = delete;

    // Shows the dialog modally, its frame at (leftTw, topTw) twips from the top-left of the owner's
    // monitor, and returns once it is unloaded (実行, 中止 or its frame's close box).
    void showModal(double leftTw, double topTw);

    void Form_Load();
    void TextClick(int row);  // Text11_Click ... Text14_Click
    // The key filter of all four boxes: every typed character is discarded.
    static void TextKeyPress(int& KeyAscii) { KeyAscii = 0; }
    void UpClick(int row);    // UpDownN_UpClick
    void DownClick(int row);  // UpDownN_DownClick
    void Command11_Click();
    void Command12_Click();

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void layout();
    void place();
    // Shows the form's texts on the boxes.
    void refresh();
    void unload();
    // Gives control the largest font, down from the design size, in which text shows whole.
    void fitFont(int id, const std::wstring& text);
    void deleteFonts();
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }

    ::autoend::MainWindowHost& host_;
    ::autoend::AutoEndState& state_;
    const ::autoend::IWallClock& clock_;
    HWND owner_;
    HWND hwnd_ = nullptr;
    unsigned dpi_ = 96;
    std::map<int, HFONT> fonts_;  // by control id, each fitted to its text
    double leftTw_ = 0;
    double topTw_ = 0;
    ::autoend::AutoEndForm form_;
};

// Opens a fresh AutoEnd over the main window for each Command6 click.
class Win32EndSetDialogs final : public ::autoend::EndSetDialogs {
public:
    explicit Win32EndSetDialogs(HWND owner) : owner_(owner) {}
    void runEndSet(::autoend::MainWindowHost& host, ::autoend::AutoEndState& state,
                   const ::autoend::IWallClock& clock, double leftTw, double topTw) override;

private:
    HWND owner_;
};

}  // namespace win32::autoend
