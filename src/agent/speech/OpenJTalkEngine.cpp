#include "agent/speech/OpenJTalkEngine.h"

#include "agent/speech/ChildProcess.h"
#include "agent/speech/JapaneseNumbers.h"
#include "agent/speech/Wav.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace agent::speech {
namespace {

constexpr double kWpmAtRateOne = 150.0;
constexpr double kMinRate = 0.5;
constexpr double kMaxRate = 2.0;

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

[[noreturn]] void missing(const std::string& what, const std::string& package) {
    throw EngineError("日本語の音声エンジンを使えません: " + what + " (パッケージ " + package +
                      ")。scripts/install-deps.sh を実行してインストールしてください。");
}

std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
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
        missing("open_jtalk が見つかりません (" + setup_.program + ")", "open-jtalk");
    if (::access((setup_.dictionary + "/sys.dic").c_str(), R_OK) != 0)
        missing("辞書が見つかりません (" + setup_.dictionary + ")", "open-jtalk-mecab-naist-jdic");
    if (::access(setup_.voice.c_str(), R_OK) != 0)
        missing("音声ファイルが見つかりません (" + setup_.voice + ")", "hts-voice-nitech-jp-atr503-m001");
}

void OpenJTalkEngine::synthesize(const std::vector<SpeechPiece>& pieces, PcmSink& sink,
                                 const std::atomic<bool>& cancel) {
    // Pieces differ only in speed for this engine; each run of one speed is one child process.
    for (size_t i = 0; i < pieces.size() && !cancel;) {
        std::string text;
        size_t j = i;
        for (; j < pieces.size() && pieces[j].speedWpm == pieces[i].speedWpm; ++j) text += pieces[j].text;
        text = oneLine(groupJapaneseNumbers(text));
        if (text.find_first_not_of(' ') != std::string::npos) run(text, pieces[i].speedWpm, sink, cancel);
        i = j;
    }
}

void OpenJTalkEngine::run(const std::string& text, int speedWpm, PcmSink& sink,
                          const std::atomic<bool>& cancel) {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.3f", openJTalkRate(speedWpm));
    std::vector<std::string> args = {"-x",  setup_.dictionary, "-m", setup_.voice, "-r", rate,
                                     "-ow", "/dev/stdout"};
    if (!setup_.tracePath.empty()) {
        args.push_back("-ot");
        args.push_back(setup_.tracePath);
    }
    const ChildResult r = runChild(setup_.program, args, text + "\n", cancel);
    if (r.cancelled) return;
    if (!r.started) missing("open_jtalk を起動できません (" + setup_.program + ")", "open-jtalk");
    if (r.signal != 0 || r.exitCode != 0) {
        const std::string how =
            r.signal ? "シグナル " + std::to_string(r.signal) : "終了コード " + std::to_string(r.exitCode);
        throw EngineError("日本語の音声エンジン open_jtalk が異常終了しました (" + how +
                          ")。scripts/install-deps.sh で open-jtalk を入れ直してください。");
    }
    const auto pcm = parseWav(r.out);
    if (!pcm) {
        throw EngineError(
            "日本語の音声エンジン open_jtalk が音声を返しませんでした。"
            "scripts/install-deps.sh で open-jtalk を入れ直してください。");
    }
    // The voice opens with about a quarter second of silence; the drill's pacing wants the number heard on time.
    const size_t start = leadingSilenceEnd(pcm->samples.data(), pcm->samples.size(), pcm->sampleRate);
    if (!pcm->samples.empty())
        sink.pcm(pcm->sampleRate, pcm->samples.data() + start, pcm->samples.size() - start);
}

}  // namespace agent::speech
