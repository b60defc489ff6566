// tvx_send_input: keyboard input for the foreground window of the Wine session, through SendInput as
// the desktop's own input arrives.
//   tvx_send_input.exe text TEXT     each character as a Unicode key, as an input method commits it
//   tvx_send_input.exe key NAME      return, escape, tab, backtab, space, f10, right

#include <windows.h>

#include <string>
#include <vector>

namespace {

void add(std::vector<INPUT>& inputs, WORD vk, WORD scan, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    inputs.push_back(in);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring verb = argv[1], arg = argv[2];
    std::vector<INPUT> inputs;
    if (verb == L"text") {
        for (wchar_t c : arg) {
            add(inputs, 0, c, KEYEVENTF_UNICODE);
            add(inputs, 0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
        }
    } else if (verb == L"key") {
        const WORD vk = arg == L"return"                     ? VK_RETURN
                        : arg == L"escape"                   ? VK_ESCAPE
                        : arg == L"space"                    ? VK_SPACE
                        : arg == L"tab" || arg == L"backtab" ? VK_TAB
                        : arg == L"f10"                      ? VK_F10
                        : arg == L"right"                    ? VK_RIGHT
                                                             : 0;
        if (!vk) return 2;
        if (arg == L"backtab") add(inputs, VK_SHIFT, 0, 0);
        add(inputs, vk, 0, 0);
        add(inputs, vk, 0, KEYEVENTF_KEYUP);
        if (arg == L"backtab") add(inputs, VK_SHIFT, 0, KEYEVENTF_KEYUP);
    } else {
        return 2;
    }
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size() ? 0 : 1;
}
