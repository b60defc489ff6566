// Until the parrot's layered window is part of this build (target tvx_win32_character), the drill
// links this: the character file must be there and readable, as start-up demands, and nothing is drawn.

#include "agent/AgentApi.h"
#include "win32/agent/CharacterView.h"
#include "win32/ui/WideText.h"

namespace win32::agent {
namespace {

class InterimView : public CharacterView {
public:
    void show() override {}
    void moveTo(int, int) override {}
    void setBalloonFontSize(int points) override { points_ = points; }
    int balloonFontSize() const override { return points_; }
    void openBalloon(const std::string&) override {}
    void closeBalloon() override {}
    void setMouth(double) override {}

private:
    int points_ = 0;
};

}  // namespace

std::unique_ptr<CharacterView> loadCharacterView(const std::string& path, HWND) {
    HANDLE f = CreateFileW(ui::toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw ::agent::AgentError("cannot open the character file " + path);
    CloseHandle(f);
    return std::make_unique<InterimView>();
}

}  // namespace win32::agent
