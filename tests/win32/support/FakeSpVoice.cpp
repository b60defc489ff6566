// A stand-in for SAPI's SpVoice, registered as CLSID_SpVoice in a test prefix (Wine's own Speak is a
// stub). It speaks nothing; each call the drill makes is appended to the file named by TVX_FAKE_SAPI_LOG,
// one line each, with milliseconds since the Unix epoch:
//   <ms> speak <flags> <voice token id> <rate> <text>
//   <ms> voice <token id>  /  <ms> rate <n>

#include <windows.h>

#include <sapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::atomic<long> objects{0};
HMODULE self = nullptr;

std::string utf8(const wchar_t* w) {
    if (!w) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}

// Milliseconds since the Unix epoch: Wine's clock is the host's, so a test can relate them to its clicks.
double nowMs() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<double>(t - 116444736000000000ULL) / 10000.0;
}

void log(const std::string& line) {
    const char* path = std::getenv("TVX_FAKE_SAPI_LOG");
    if (!path) return;
    if (FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%.1f %s\n", nowMs(), line.c_str());
        std::fclose(f);
    }
}

#define NOTIMPL(...) \
    { return E_NOTIMPL; }

class FakeVoice : public ISpVoice {
public:
    FakeVoice() { ++objects; }
    virtual ~FakeVoice() { --objects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_ISpVoice || riid == IID_ISpEventSource ||
            riid == IID_ISpNotifySource) {
            *out = static_cast<ISpVoice*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG r = --refs_;
        if (r == 0) delete this;
        return r;
    }
    // ISpNotifySource
    HRESULT STDMETHODCALLTYPE SetNotifySink(ISpNotifySink*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetNotifyWindowMessage(HWND, UINT, WPARAM, LPARAM) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetNotifyCallbackFunction(SPNOTIFYCALLBACK*, WPARAM, LPARAM) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetNotifyCallbackInterface(ISpNotifyCallback*, WPARAM, LPARAM) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetNotifyWin32Event() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE WaitForNotifyEvent(DWORD) override { return S_OK; }
    HANDLE STDMETHODCALLTYPE GetNotifyEventHandle() override { return nullptr; }
    // ISpEventSource
    HRESULT STDMETHODCALLTYPE SetInterest(ULONGLONG, ULONGLONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetEvents(ULONG, SPEVENT*, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE GetInfo(SPEVENTSOURCEINFO*) override NOTIMPL()
        // ISpVoice
        HRESULT STDMETHODCALLTYPE SetOutput(IUnknown*, WINBOOL) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetOutputObjectToken(ISpObjectToken**) override
        NOTIMPL() HRESULT STDMETHODCALLTYPE GetOutputStream(ISpStreamFormat**) override
        NOTIMPL() HRESULT STDMETHODCALLTYPE Pause() override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Resume() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetVoice(ISpObjectToken* token) override {
        voice_.clear();
        WCHAR* id = nullptr;
        if (token && SUCCEEDED(token->GetId(&id)) && id) {
            voice_ = utf8(id);
            CoTaskMemFree(id);
        }
        log("voice " + voice_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVoice(ISpObjectToken**) override NOTIMPL() HRESULT STDMETHODCALLTYPE
        Speak(LPCWSTR text, DWORD flags, ULONG* stream) override {
        log("speak " + std::to_string(flags) + " " +
            (voice_.empty() ? "-" : voice_.substr(voice_.rfind('\\') + 1)) + " " + std::to_string(rate_) +
            " " + utf8(text));
        if (stream) *stream = ++streams_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SpeakStream(IStream*, DWORD, ULONG*) override
        NOTIMPL() HRESULT STDMETHODCALLTYPE GetStatus(SPVOICESTATUS*, LPWSTR*) override
        NOTIMPL() HRESULT STDMETHODCALLTYPE Skip(LPCWSTR, LONG, ULONG*) override
        NOTIMPL() HRESULT STDMETHODCALLTYPE SetPriority(SPVPRIORITY) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPriority(SPVPRIORITY*) override NOTIMPL() HRESULT STDMETHODCALLTYPE
        SetAlertBoundary(SPEVENTENUM) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAlertBoundary(SPEVENTENUM*) override NOTIMPL() HRESULT STDMETHODCALLTYPE
        SetRate(LONG rate) override {
        rate_ = rate;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRate(LONG* rate) override {
        *rate = rate_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetVolume(USHORT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetVolume(USHORT*) override NOTIMPL() HRESULT STDMETHODCALLTYPE
        WaitUntilDone(ULONG) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSyncSpeakTimeout(ULONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSyncSpeakTimeout(ULONG*) override NOTIMPL() HANDLE STDMETHODCALLTYPE
        SpeakCompleteEvent() override {
        return nullptr;
    }
    HRESULT STDMETHODCALLTYPE IsUISupported(LPCWSTR, void*, ULONG, WINBOOL*) override
        NOTIMPL() HRESULT STDMETHODCALLTYPE DisplayUI(HWND, LPCWSTR, LPCWSTR, void*, ULONG) override NOTIMPL()

            private : std::atomic<ULONG> refs_{1};
    std::string voice_;
    LONG rate_ = 0;
    ULONG streams_ = 0;
};

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* v = new FakeVoice;
        const HRESULT hr = v->QueryInterface(riid, out);
        v->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(WINBOOL) override { return S_OK; }
};

Factory factory;

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (clsid != CLSID_SpVoice) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(riid, out);
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
    return objects == 0 ? S_OK : S_FALSE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}
}
