#include "win32/agent/SapiAgent.h"

#include "core/speech/SpeechTags.h"
#include "win32/ui/WideText.h"

#include <windows.h>

#include <sapi.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <set>

namespace win32::agent {
namespace {

constexpr wchar_t kTokensKey[] = L"SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens";

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

template <typename T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

}  // namespace

std::vector<VoiceToken> installedVoices() {
    std::vector<VoiceToken> tokens;
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTokensKey, 0, KEY_READ, &root) != ERROR_SUCCESS) return tokens;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(root, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::wstring attributes = std::wstring(name) + L"\\Attributes";
        wchar_t language[256] = {};
        DWORD size = sizeof(language) - sizeof(wchar_t);
        if (RegGetValueW(root, attributes.c_str(), L"Language", RRF_RT_REG_SZ, nullptr, language, &size) !=
            ERROR_SUCCESS)
            continue;
        tokens.push_back(VoiceToken{"HKEY_LOCAL_MACHINE\\" + ui::toUtf8(kTokensKey) + "\\" + ui::toUtf8(name),
                                    ui::toUtf8(language)});
    }
    RegCloseKey(root);
    return tokens;
}

class SapiAgent::Character : public ::agent::ICharacter, private ::agent::IBalloon {
public:
    Character(std::unique_ptr<CharacterView> view, SapiAgent& agent) : view_(std::move(view)), agent_(agent) {
        if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                    reinterpret_cast<void**>(voice_.out()))))
            throw ::agent::AgentError("SAPI 5 (SpVoice) is not available on this system");
        // Events arrive as window messages, on the window thread.
        voice_->SetNotifyWindowMessage(agent_.owner_, kSpeechEventMessage, 0, 0);
        const ULONGLONG interest =
            SPFEI(SPEI_START_INPUT_STREAM) | SPFEI(SPEI_END_INPUT_STREAM) | SPFEI(SPEI_VISEME);
        voice_->SetInterest(interest, interest);
    }

    void Show() override { view_->show(); }
    void MoveTo(int x, int y, int) override { view_->moveTo(x, y); }
    std::optional<::agent::CharacterBounds> Bounds() const override {
        const RECT r = view_->bounds();
        return ::agent::CharacterBounds{r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    ::agent::IBalloon& Balloon() override { return *this; }

    void setTTSModeID(const std::string& modeId) override {
        const auto lang = languageOfModeId(modeId);
        if (!lang) throw ::agent::AgentError("unknown speech engine mode " + modeId);
        modeId_ = modeId;
        lang_ = *lang;
    }
    std::string TTSModeID() const override { return modeId_; }

    void Speak(const std::string& text) override {
        const ::agent::speech::TaggedText tagged = ::agent::speech::parseTaggedText(text);
        ISpObjectToken* token = voiceFor(lang_);
        if (!token) return;  // this language stays silent; the learner has been told once
        voice_->SetVoice(token);
        const int speed = tagged.pieces.empty() ? 0 : tagged.pieces.front().speedWpm;
        voice_->SetRate(sapiRateForSpeed(speed));
        const std::wstring spoken = ui::toWide(tagged.spokenText());
        ULONG stream = 0;
        // Plain text: digits and commas are the engine's to pronounce; no markup of ours reaches it.
        if (SUCCEEDED(voice_->Speak(spoken.c_str(), SPF_ASYNC | SPF_IS_NOT_XML, &stream)))
            shown_.push_back({stream, tagged.shown});
    }

    void setBalloonSubject(const std::string& text) override {
        subject_ = text;
        if (!openText_.empty() && openText_ != subject_) closeBalloon();
    }

    void events() {
        SPEVENT event{};
        ULONG fetched = 0;
        while (voice_->GetEvents(1, &event, &fetched) == S_OK && fetched == 1) {
            const ULONG stream = event.ulStreamNum;
            switch (event.eEventId) {
                case SPEI_START_INPUT_STREAM:
                    for (const auto& s : shown_)
                        if (s.stream == stream && !s.text.empty() && s.text == subject_) {
                            view_->openBalloon(s.text);
                            openText_ = s.text;
                        }
                    break;
                case SPEI_END_INPUT_STREAM:
                    view_->setMouth(0);
                    closeBalloon();
                    while (!shown_.empty() && shown_.front().stream <= stream) shown_.pop_front();
                    break;
                case SPEI_VISEME:
                    // LOWORD(lParam) is the viseme now spoken; 0 is silence.
                    view_->setMouth(LOWORD(event.lParam) == 0 ? 0.0 : 0.8);
                    break;
                default:
                    break;
            }
            if (event.elParamType == SPET_LPARAM_IS_STRING || event.elParamType == SPET_LPARAM_IS_TOKEN ||
                event.elParamType == SPET_LPARAM_IS_OBJECT || event.elParamType == SPET_LPARAM_IS_POINTER) {
                if (event.elParamType == SPET_LPARAM_IS_TOKEN || event.elParamType == SPET_LPARAM_IS_OBJECT)
                    reinterpret_cast<IUnknown*>(event.lParam)->Release();
                else
                    CoTaskMemFree(reinterpret_cast<void*>(event.lParam));
            }
        }
    }

private:
    void setFontSize(int points) override { view_->setBalloonFontSize(points); }
    int fontSize() const override { return view_->balloonFontSize(); }

    void closeBalloon() {
        if (openText_.empty()) return;
        view_->closeBalloon();
        openText_.clear();
    }

    // The voice of this language, looked up once; a missing one is reported once.
    ISpObjectToken* voiceFor(unsigned lang) {
        auto found = tokens_.find(lang);
        if (found != tokens_.end()) return found->second.p;
        ComPtr<ISpObjectToken>& slot = tokens_[lang];
        if (const auto choice = chooseVoice(installedVoices(), lang)) {
            if (SUCCEEDED(CoCreateInstance(CLSID_SpObjectToken, nullptr, CLSCTX_ALL, IID_ISpObjectToken,
                                           reinterpret_cast<void**>(slot.out()))) &&
                FAILED(slot->SetId(nullptr, ui::toWide(choice->id).c_str(), FALSE))) {
                slot->Release();
                slot.p = nullptr;
            }
        }
        if (!slot) agent_.notice_(missingVoiceNotice(lang));
        return slot.p;
    }

    struct Shown {
        ULONG stream;
        std::string text;
    };

    std::unique_ptr<CharacterView> view_;
    SapiAgent& agent_;
    ComPtr<ISpVoice> voice_;
    std::map<unsigned, ComPtr<ISpObjectToken>> tokens_;
    std::string modeId_;
    unsigned lang_ = 0x409;
    std::deque<Shown> shown_;
    std::string subject_;
    std::string openText_;
};

SapiAgent::SapiAgent(HWND owner, Notice notice, ViewLoader loader)
    : owner_(owner), notice_(std::move(notice)), loader_(std::move(loader)) {
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

SapiAgent::~SapiAgent() {
    characters_.clear();
    if (comStarted_) CoUninitialize();
}

void SapiAgent::Load(const std::string& id, const std::string& path) {
    auto view = loader_(path, owner_);
    characters_[lower(id)] = std::make_unique<Character>(std::move(view), *this);
}

::agent::ICharacter& SapiAgent::Item(const std::string& id) {
    const auto found = characters_.find(lower(id));
    if (found == characters_.end()) throw ::agent::AgentError("no character loaded as " + id);
    return *found->second;
}

void SapiAgent::speechEvents() {
    for (auto& [id, c] : characters_) c->events();
}

}  // namespace win32::agent
