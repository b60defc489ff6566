#include "core/listening/ListeningController.h"

#include "core/listening/AnswerInput.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace drill {

namespace {

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string u8 = path.u8string();
    return {reinterpret_cast<const char*>(u8.data()), u8.size()};
}

}  // namespace

std::string ListeningStatusLine(bool hasNumber, bool answered, int tried) {
    if (!hasNumber) return "Enter または「スタート」で数字を読み上げます";
    if (!answered) return std::to_string(tried + 1) + "問目：聞こえた数字を入力して Enter";
    return "Enter で次の数字";
}

std::optional<std::string> SaveListeningCsv(const ListeningSession& session,
                                            const std::filesystem::path& path) {
    const std::string csv = session.Csv();
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
    if (out) out.flush();
    if (out) return std::nullopt;
    const int error = errno;
    return std::string("保存できませんでした：") + (error != 0 ? std::strerror(error) : "書き込めません");
}

ListeningController::ListeningController(ListeningControllerDeps deps, ListeningView& view)
    : deps_(std::move(deps)), view_(view), random_(std::move(deps_.random)) {
    if (!random_) random_ = std::make_unique<Xoshiro256Source>(SystemClockReading());
}

void ListeningController::trace(const std::string& line) const {
    if (deps_.trace) deps_.trace(line);
}

void ListeningController::Open() {
    view_.SetReplayEnabled(false);
    showStatus();
    view_.ShowSummary(SummariseSession(session_));
}

void ListeningController::Start() {
    current_ = DrawListeningNumber(*deps_.mainState, *random_);
    currentLanguage_ = view_.ChosenLanguage();
    answered_ = false;
    replays_ = 0;
    slowReplays_ = 0;
    view_.ClearAnswer();
    view_.SetHint({});
    view_.ClearResult();
    trace("number " + current_->display);
    read(ReadingPace::Normal);
    view_.SetReplayEnabled(true);
    showStatus();
}

void ListeningController::Replay(ReadingPace pace) {
    if (!current_) return;
    session_.CountReplay(pace == ReadingPace::Slow);
    // A replay after the answer is counted for the session, not for the number.
    if (!answered_) ++(pace == ReadingPace::Slow ? slowReplays_ : replays_);
    read(pace);
    showStatus();
    view_.ShowSummary(SummariseSession(session_));
}

void ListeningController::read(ReadingPace pace) {
    trace(std::string("read ") + (currentLanguage_ == ListeningLanguage::English ? "en" : "ja") +
          (pace == ReadingPace::Slow ? " slow" : " normal"));
    if (deps_.beforeReading) deps_.beforeReading();
    try {
        ReadListeningNumber(*deps_.characters, *deps_.speechChar, *current_, currentLanguage_, pace);
    } catch (const agent::AgentError& e) {
        // A missing voice must not end the drill from inside a click; say so where the learner looks.
        view_.SetHint(std::string("読み上げできませんでした：") + e.what());
        trace("read-failed");
    }
    view_.FocusAnswer();
}

void ListeningController::Enter() {
    if (!current_ || answered_) {
        Start();
        return;
    }
    check();
}

void ListeningController::AnswerEdited() {
    view_.SetHint({});
}

void ListeningController::check() {
    const NormalisedAnswer typed = NormaliseAnswer(view_.AnswerText());
    if (typed.problem != AnswerProblem::None) {
        const std::string hint = AnswerHint(typed.problem);
        view_.SetHint(hint);
        trace("hint " + hint);
        return;
    }
    ListeningTrial trial;
    trial.language = currentLanguage_;
    trial.correct = current_->Digits();
    trial.answer = typed.digits;
    trial.comparison = CompareAnswer(trial.correct, trial.answer);
    trial.replays = replays_;
    trial.slowReplays = slowReplays_;
    const AnswerComparison& c = trial.comparison;
    ListeningResult result;
    result.right = c.correct;
    result.correct = GroupMarked(trial.correct, c.correctMarks);
    result.answer = GroupMarked(trial.answer, c.answerMarks);
    result.verdict =
        VerdictLine(c, static_cast<int>(trial.correct.size()), static_cast<int>(trial.answer.size()));
    view_.ShowResult(result);
    trace(std::string("result ") + (c.correct ? "right " : "wrong ") + GroupedDigits(trial.correct) + " " +
          GroupedDigits(trial.answer) + " " + result.verdict);
    session_.Record(std::move(trial));
    answered_ = true;
    view_.ShowSummary(SummariseSession(session_));
    showStatus();
}

void ListeningController::showStatus() {
    view_.SetStatus(ListeningStatusLine(current_.has_value(), answered_, session_.Tried()));
}

void ListeningController::Save() {
    const std::filesystem::path path = view_.AskSavePath();
    if (path.empty()) return;
    if (const auto failure = SaveListeningCsv(session_, path)) {
        // Inline, like the answer hints: a dialog would take the keyboard away from the test.
        view_.SetStatus(*failure);
        trace("save-failed " + Utf8(path));
        return;
    }
    trace("saved " + Utf8(path));
}

}  // namespace drill
