#pragma once

#include "core/agent/AgentApi.h"
#include "core/drill/RandomSource.h"
#include "core/drill/ReadOut1State.h"
#include "core/listening/AnswerComparison.h"
#include "core/listening/ListeningDraw.h"
#include "core/listening/ListeningSession.h"
#include "core/listening/ListeningSummary.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace drill {

// The lines shown once an answer is checked.
struct ListeningResult {
    bool right = false;
    std::vector<MarkedChar> correct;  // the right number, grouped, missing or misheard digits marked
    std::vector<MarkedChar> answer;   // the answer, grouped, wrong or extra digits marked
    std::string verdict;              // "正解", the wrong places, or the place shift
};

// What the test window shows and asks; it decides nothing. All texts are UTF-8.
class ListeningView {
public:
    virtual ~ListeningView() = default;
    virtual ListeningLanguage ChosenLanguage() const = 0;
    virtual std::string AnswerText() const = 0;
    virtual void ClearAnswer() = 0;
    // An empty text clears the hint.
    virtual void SetHint(const std::string& text) = 0;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void ShowResult(const ListeningResult& result) = 0;
    virtual void ClearResult() = 0;
    virtual void SetReplayEnabled(bool enabled) = 0;
    virtual void ShowSummary(const ListeningSummary& summary) = 0;
    virtual void FocusAnswer() = 0;
    // Where to save the CSV; an empty path saves nothing (the dialog was cancelled).
    virtual std::filesystem::path AskSavePath() = 0;
};

struct ListeningControllerDeps {
    const ReadOut1State* mainState = nullptr;  // read at each draw, never written
    agent::ICharacters* characters = nullptr;
    agent::ICharacter* speechChar = nullptr;
    // Null gives a generator seeded from the clock.
    std::unique_ptr<RandomSource> random;
    // Called before each reading so that nothing else talks over it (the main window stops its drill).
    std::function<void()> beforeReading;
    // Receives "number 1,234", "read en slow", "result right ...", ... for the end-to-end tests.
    std::function<void(const std::string&)> trace;
};

// The listening test's flow: draw, read, check, count, save. One per open test window.
class ListeningController {
public:
    ListeningController(ListeningControllerDeps deps, ListeningView& view);

    // Shows the first status line and the empty summary.
    void Open();
    // スタート: draws a new number and reads it.
    void Start();
    // もう一度 / ゆっくり: reads the current number again.
    void Replay(ReadingPace pace);
    // Enter: starts, checks, or goes on to the next number.
    void Enter();
    // The learner edited the answer: the hint has done its work.
    void AnswerEdited();
    // 結果を保存…
    void Save();

    const ListeningSession& Session() const { return session_; }
    bool HasNumber() const { return current_.has_value(); }
    bool Answered() const { return answered_; }

private:
    void check();
    void read(ReadingPace pace);
    void showStatus();
    void trace(const std::string& line) const;

    ListeningControllerDeps deps_;
    ListeningView& view_;
    std::unique_ptr<RandomSource> random_;
    ListeningSession session_;
    std::optional<ListeningNumber> current_;
    ListeningLanguage currentLanguage_ = ListeningLanguage::English;
    bool answered_ = false;
    int replays_ = 0;
    int slowReplays_ = 0;
};

// The status line under the answer for each state of the test.
std::string ListeningStatusLine(bool hasNumber, bool answered, int tried);

// Writes the session's CSV; on failure returns the line the status shows ("保存できませんでした：...").
std::optional<std::string> SaveListeningCsv(const ListeningSession& session,
                                            const std::filesystem::path& path);

}  // namespace drill
