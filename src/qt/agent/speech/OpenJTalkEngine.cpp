#include "qt/agent/speech/OpenJTalkEngine.h"

#include "core/speech/JapaneseNumbers.h"
#include "core/speech/Wav.h"
#include "qt/agent/speech/ChildProcess.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace agent::speech {
namespace {

// Calibrated so that \Spd=195\ (rate 2.0) fits every Japanese reading of up to 15 digits into the
// drill's wait after it with room to spare (bench_japanese_pacing); the voice's own pace is too slow.
constexpr double kWpmAtRateOne = 97.5;
constexpr double kMinRate = 0.5;
constexpr double kMaxRate = 3.0;
constexpr int kTailMs = 40;  // kept after the last loud sample of a phrase: the voice's own decay

std::string firstExisting(std::initializer_list<const char*> candidates, const char* inside = "") {
    for (const char* c : candidates) {
        if (::access((std::string(c) + inside).c_str(), R_OK) == 0) return c;
    }
    return *candidates.begin();
}

std::string findProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::string("/usr/bin/") + name;
}

constexpr const char* kInstall =
    "sudo apt install open-jtalk open-jtalk-mecab-naist-jdic hts-voice-nitech-jp-atr503-m001";

[[noreturn]] void missing(const std::string& what, const std::string& package) {
    throw EngineError(
        "日本語の読み上げができません。" + what +
        "\n\n端末で次のように入れると、日本語も読み上げます (声のパッケージは Debian の contrib "
        "にあります):\n" +
        kInstall + "\n\n(missing package: " + package + ")");
}

[[noreturn]] void broken(const std::string& what, const std::string& detail) {
    throw EngineError("日本語の読み上げを1つ飛ばしました。" + what +
                      "\n\n続くときは入れ直してください:\nsudo apt install --reinstall open-jtalk\n\n(" +
                      detail + ")");
}

// A few seconds, and more for a longer text: a 15-digit reading takes about 0.5 s of a core, and
// several times that on a machine whose cores are busy. The output is bounded to far more than any
// reading needs.
ChildLimits limitsFor(const std::string& text) {
    ChildLimits limits;
    limits.timeoutMs = 5000 + 150 * int(std::min<size_t>(text.size(), 1000));
    limits.maxOutputBytes = (size_t(1) << 20) + (size_t(100) << 10) * text.size();
    return limits;
}

std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

// Short fades where the voice was cut from the engine's silence, so no cut is heard as a click.
void fadeCuts(std::vector<int16_t>& s, int rate, bool in, bool out) {
    const size_t n = std::min(s.size() / 2, size_t(rate) * 4 / 1000);
    for (size_t i = 0; i < n; ++i) {
        const double g = double(i) / double(n);
        if (in) s[i] = int16_t(s[i] * g);
        if (out) s[s.size() - 1 - i] = int16_t(s[s.size() - 1 - i] * g);
    }
}

}  // namespace

OpenJTalkSetup defaultOpenJTalkSetup() {
    OpenJTalkSetup s;
    s.program = findProgram("open_jtalk");
    s.dictionary =
        firstExisting({"/var/lib/mecab/dic/open-jtalk/naist-jdic", "/usr/share/open-jtalk/dic"}, "/sys.dic");
    s.voice = firstExisting({"/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice"});
    return s;
}

double openJTalkRate(int speedWpm) {
    if (speedWpm <= 0) return 1.0;
    return std::clamp(speedWpm / kWpmAtRateOne, kMinRate, kMaxRate);
}

OpenJTalkEngine::OpenJTalkEngine(OpenJTalkSetup setup) : setup_(std::move(setup)) {
    if (::access(setup_.program.c_str(), X_OK) != 0)
        missing("音声エンジン open_jtalk が見つかりません (" + setup_.program + ")。", "open-jtalk");
    if (::access((setup_.dictionary + "/sys.dic").c_str(), R_OK) != 0)
        missing("辞書が見つかりません (" + setup_.dictionary + ")。", "open-jtalk-mecab-naist-jdic");
    if (::access(setup_.voice.c_str(), R_OK) != 0)
        missing("声のファイルが見つかりません (" + setup_.voice + ")。", "hts-voice-nitech-jp-atr503-m001");
}

std::vector<std::string> japanesePhrases(const std::string& text) {
    const std::string grouped = oneLine(groupJapaneseNumbers(text));
    const std::string comma = "、";
    std::vector<std::string> phrases;
    for (size_t at = 0; at <= grouped.size();) {
        size_t end = grouped.find(comma, at);
        if (end == std::string::npos) end = grouped.size();
        const std::string phrase = grouped.substr(at, end - at);
        if (phrase.find_first_not_of(' ') != std::string::npos) phrases.push_back(phrase);
        at = end + comma.size();
    }
    return phrases;
}

void OpenJTalkEngine::synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                                 const std::atomic<bool>& cancel) {
    read(pieces, sink, cancel, false);
}

void OpenJTalkEngine::synthesizeNow(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                                    const std::atomic<bool>& cancel) {
    read(pieces, sink, cancel, true);
}

void OpenJTalkEngine::read(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                           const std::atomic<bool>& cancel, bool firstApart) {
    // Pieces differ only in speed for this engine; each run of one speed is read as its phrases.
    bool first = true;
    int rate = 0;
    for (size_t i = 0; i < pieces.size() && !cancel;) {
        std::string text;
        size_t j = i;
        for (; j < pieces.size() && pieces[j].speedWpm == pieces[i].speedWpm; ++j) text += pieces[j].text;
        const std::vector<std::string> phrases = japanesePhrases(text);
        std::vector<std::string> runs;
        for (size_t k = 0; k < phrases.size(); ++k) {
            if (runs.empty() || (firstApart && k == 1))
                runs.emplace_back();
            else
                runs.back() += "、";
            runs.back() += phrases[k];
        }
        for (const std::string& r : runs) {
            // The first run keeps a short lead-in; a later one starts right after our own pause.
            const MonoPcm pcm = run(r, pieces[i].speedWpm, first ? 30 : 0, cancel);
            if (cancel) return;
            if (pcm.samples.empty()) continue;
            if (!first && rate == pcm.sampleRate) {
                const std::vector<int16_t> pause(size_t(rate) * (kPhrasePauseMs - kTailMs) / 1000, 0);
                sink.pcm(rate, pause.data(), pause.size());
            }
            rate = pcm.sampleRate;
            sink.pcm(rate, pcm.samples.data(), pcm.samples.size());
            first = false;
        }
        i = j;
    }
}

MonoPcm OpenJTalkEngine::run(const std::string& text, int speedWpm, int leadMs,
                             const std::atomic<bool>& cancel) {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.3f", openJTalkRate(speedWpm));
    std::vector<std::string> args = {"-x",  setup_.dictionary, "-m", setup_.voice, "-r", rate,
                                     "-ow", "/dev/stdout"};
    const std::string tracePart = setup_.tracePath.empty() ? "" : setup_.tracePath + ".part";
    if (!tracePart.empty()) {
        args.push_back("-ot");
        args.push_back(tracePart);
    }
    const ChildResult r = runChild(setup_.program, args, text + "\n", cancel, limitsFor(text));
    if (r.cancelled) return {};
    if (!r.started)
        missing("音声エンジン open_jtalk を起動できません (" + setup_.program + ")。", "open-jtalk");
    if (r.timedOut)
        broken("音声エンジン open_jtalk が時間内に終わりませんでした。",
               "open_jtalk timed out and was stopped");
    if (r.overflowed)
        broken("音声エンジン open_jtalk の出力が大きすぎました。",
               "open_jtalk wrote too much and was stopped");
    if (r.signal != 0 || r.exitCode != 0) {
        const std::string how =
            r.signal ? "signal " + std::to_string(r.signal) : "exit code " + std::to_string(r.exitCode);
        broken("音声エンジン open_jtalk が異常終了しました。", "open_jtalk failed: " + how);
    }
    auto pcm = parseWav(r.out);
    if (!pcm) broken("音声エンジン open_jtalk が音声を返しませんでした。", "open_jtalk gave no WAV");
    if (!tracePart.empty()) {
        std::ifstream part(tracePart, std::ios::binary);
        std::ofstream(setup_.tracePath, std::ios::binary | std::ios::app) << part.rdbuf();
        std::remove(tracePart.c_str());
    }
    // The voice opens with about a quarter second of silence and ends with more: keep only the
    // voice, so the number is heard on time and our own pauses are the only ones.
    std::vector<int16_t>& s = pcm->samples;
    const size_t start = leadingSilenceEnd(s.data(), s.size(), pcm->sampleRate, leadMs);
    const size_t end = trailingSilenceStart(s.data(), s.size(), pcm->sampleRate, kTailMs);
    if (end <= start) return *pcm;  // no voice to trim around
    const bool cutIn = start > 0, cutOut = end < s.size();
    s = std::vector<int16_t>(s.begin() + long(start), s.begin() + long(end));
    fadeCuts(s, pcm->sampleRate, cutIn, cutOut);
    return std::move(*pcm);
}

}  // namespace agent::speech
