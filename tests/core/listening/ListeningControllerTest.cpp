// The listening test's flow against a recording view and a recording character.

#include "DrillFakes.h"
#include "core/listening/ListeningController.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace drill {
namespace {

using fakes::plannedDigits;
using fakes::RecordingCharacter;
using fakes::ScriptedRandom;

std::string Plain(const std::vector<MarkedChar>& marked) {
    std::string s;
    for (const MarkedChar& m : marked) s += m.wrong ? std::string("[") + m.c + "]" : std::string(1, m.c);
    return s;
}

// Keeps what a window would show; calls logs the order of the calls that matter for focus.
class FakeView final : public ListeningView {
public:
    ListeningLanguage ChosenLanguage() const override { return language; }
    std::string AnswerText() const override { return answer; }
    void ClearAnswer() override { answer.clear(); }
    void SetHint(const std::string& text) override { hint = text; }
    void SetStatus(const std::string& text) override { status = text; }
    void ShowResult(const ListeningResult& r) override {
        result = Plain(r.correct) + " / " + Plain(r.answer) + " / " + r.verdict;
        right = r.right;
    }
    void ClearResult() override { result.clear(); }
    void SetReplayEnabled(bool enabled) override { replayEnabled = enabled; }
    void ShowSummary(const ListeningSummary& s) override { summary = s; }
    void FocusAnswer() override { calls.push_back("focus"); }
    std::filesystem::path AskSavePath() override { return savePath; }

    ListeningLanguage language = ListeningLanguage::English;
    std::string answer, hint, status, result;
    bool right = false;
    bool replayEnabled = true;
    ListeningSummary summary;
    std::filesystem::path savePath;
    std::vector<std::string> calls;
};

struct Rig {
    ReadOut1State main;
    RecordingCharacter peedy;
    FakeView view;
    std::vector<std::string> traced;
    ListeningController controller;

    explicit Rig(std::initializer_list<int> numbers) : controller(Deps(numbers), view) { controller.Open(); }

    ListeningControllerDeps Deps(std::initializer_list<int> numbers) {
        ListeningControllerDeps d;
        d.mainState = &main;
        d.characters = &peedy;
        d.speechChar = &peedy;
        d.random = std::make_unique<ScriptedRandom>(plannedDigits(numbers));
        d.beforeReading = [this] {
            peedy.calls.push_back("beforeReading");
            view.calls.push_back("beforeReading");
        };
        d.trace = [this](const std::string& line) { traced.push_back(line); };
        return d;
    }
    void Answer(const std::string& typed) {
        view.answer = typed;
        controller.Enter();
    }
};

TEST(ListeningController, EnterStartsChecksAndGoesOnWithTheTextsOfEachStep) {
    Rig rig({472, 305});
    EXPECT_EQ(rig.view.status, "Enter または「スタート」で数字を読み上げます");
    EXPECT_FALSE(rig.view.replayEnabled);
    EXPECT_EQ(rig.view.summary.counts, "出題 0　正解 0　もう一度 0（うち ゆっくり 0）");

    rig.controller.Enter();
    EXPECT_TRUE(rig.view.replayEnabled);
    EXPECT_EQ(rig.view.status, "1問目：聞こえた数字を入力して Enter");
    // The drill is stopped before the reading, and the focus goes to the answer after it.
    EXPECT_EQ(rig.peedy.calls,
              (std::vector<std::string>{"beforeReading", "speak \\Map=\"4 hundred 72\"=\"\"\\"}));
    EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"beforeReading", "focus"}));

    rig.Answer("４，７２０");
    EXPECT_FALSE(rig.view.right);
    EXPECT_EQ(rig.view.result, "472 / 4,72[0] / 位ずれ：1桁多い（百の位を千の位と聞き違え）");
    EXPECT_EQ(rig.view.status, "Enter で次の数字");
    EXPECT_EQ(rig.view.summary.counts, "出題 1　正解 0　もう一度 0（うち ゆっくり 0）");

    rig.Answer("ignored: the next Enter goes on");
    EXPECT_EQ(rig.view.answer, "");
    EXPECT_EQ(rig.view.result, "");
    EXPECT_EQ(rig.view.status, "2問目：聞こえた数字を入力して Enter");
    rig.Answer("3 0 5");
    EXPECT_TRUE(rig.view.right);
    EXPECT_EQ(rig.view.result, "305 / 305 / 正解");
    EXPECT_EQ(rig.traced,
              (std::vector<std::string>{"number 472", "read en normal",
                                        "result wrong 472 4,720 位ずれ：1桁多い（百の位を千の位と聞き違え）",
                                        "number 305", "read en normal", "result right 305 305 正解"}));
}

TEST(ListeningController, AnswersThatAreNoNumberGetTheirHintAndCountNothing) {
    struct Case {
        std::string typed;
        std::string hint;
    } cases[] = {
        {"", "聞こえた数字を入力してください"},
        {"　 ", "聞こえた数字を入力してください"},
        {"<b>135</b>", "数字（半角・全角）とカンマ・スペースだけで入力してください"},
        {"百三十五", "数字（半角・全角）とカンマ・スペースだけで入力してください"},
        {"1234567890123456789", "18桁までで入力してください"},
    };
    for (const Case& c : cases) {
        Rig rig({135});
        rig.controller.Enter();
        rig.Answer(c.typed);
        EXPECT_EQ(rig.view.hint, c.hint) << c.typed;
        EXPECT_FALSE(rig.controller.Answered()) << c.typed;
        EXPECT_EQ(rig.controller.Session().Tried(), 0) << c.typed;
        EXPECT_EQ(rig.peedy.spoken.size(), 1u) << "a hint reads nothing again: " << c.typed;
        rig.controller.AnswerEdited();
        EXPECT_EQ(rig.view.hint, "");
        rig.Answer("１、３５");
        EXPECT_EQ(rig.controller.Session().Correct(), 1) << c.typed;
    }
}

TEST(ListeningController, ReplaysKeepTheNumberAndItsLanguageAndCountBeforeAndAfterTheAnswer) {
    Rig rig({305});
    rig.controller.Replay(ReadingPace::Normal);  // nothing drawn yet: nothing to read
    EXPECT_TRUE(rig.peedy.spoken.empty());

    rig.view.language = ListeningLanguage::Japanese;
    rig.controller.Start();
    rig.view.language = ListeningLanguage::English;  // a change applies to the next number only
    rig.controller.Replay(ReadingPace::Normal);
    rig.controller.Replay(ReadingPace::Slow);
    rig.controller.Replay(ReadingPace::Slow);
    ASSERT_EQ(rig.peedy.spoken.size(), 4u);
    for (const auto& s : rig.peedy.spoken) EXPECT_EQ(s.modeId, agent::kJapaneseModeId);
    EXPECT_EQ(rig.peedy.spoken[1].text, rig.peedy.spoken[0].text);
    EXPECT_EQ(rig.peedy.spoken[2].text, "\\Spd=110\\\\Map=\"305\"=\"\"\\");
    EXPECT_EQ(rig.view.summary.counts, "出題 0　正解 0　もう一度 3（うち ゆっくり 2）");
    rig.Answer("305");
    rig.controller.Replay(ReadingPace::Normal);  // after the answer: the session's, not the number's
    const ListeningTrial& t = rig.controller.Session().Trials().at(0);
    EXPECT_EQ(t.language, ListeningLanguage::Japanese);
    EXPECT_EQ(t.replays, 1);
    EXPECT_EQ(t.slowReplays, 2);
    EXPECT_EQ(rig.view.summary.counts, "出題 1　正解 1　もう一度 4（うち ゆっくり 2）");
    EXPECT_EQ(rig.view.status, "Enter で次の数字");
}

TEST(ListeningController, AMissingVoiceIsAHintNotAnExceptionAndTheNumberStaysAnswerable) {
    Rig rig({305});
    rig.peedy.rejectMode = agent::kEnglishModeId;
    EXPECT_NO_THROW(rig.controller.Enter());
    EXPECT_EQ(rig.view.hint, "読み上げできませんでした：no engine for " + std::string(agent::kEnglishModeId));
    EXPECT_EQ(rig.view.calls.back(), "focus");
    rig.Answer("305");
    EXPECT_EQ(rig.controller.Session().Correct(), 1);
}

TEST(ListeningController, SummaryCountsPlacesAndDigitCountsFromTheTopPlaceDown) {
    Rig rig({135, 7, 42});
    for (const char* answer : {"135", "8", "42"}) {
        rig.controller.Enter();
        rig.Answer(answer);
    }
    const ListeningSummary& s = rig.view.summary;
    EXPECT_EQ(s.rows.front().name, "百兆");
    EXPECT_EQ(s.rows.back().name, "一");
    EXPECT_EQ(s.rows[14].tried, 3);
    EXPECT_EQ(s.rows[14].wrong, 1);
    EXPECT_EQ(s.rows[13].tried, 2);  // 十: 135 and 42
    EXPECT_EQ(s.rows[12].tried, 1);
    EXPECT_DOUBLE_EQ(s.placeRates[14], 100.0 / 3);
    EXPECT_DOUBLE_EQ(s.placeRates[13], 0.0);
    EXPECT_EQ(s.digitLabels[0], "1桁");
    EXPECT_DOUBLE_EQ(s.digitRates[0], 100.0);  // 7 heard as 8
    EXPECT_DOUBLE_EQ(s.digitRates[1], 0.0);
    EXPECT_DOUBLE_EQ(s.digitRates[2], 0.0);
}

TEST(ListeningController, SavesTheSessionCsvOnlyWhereAskedAndSaysWhenItCannot) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("tvx-listening-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-save");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    Rig rig({135});
    rig.controller.Enter();
    rig.Answer("135");

    rig.controller.Save();  // the dialog was cancelled
    EXPECT_TRUE(std::filesystem::is_empty(dir));

    rig.view.savePath = dir / u8"結果.csv";
    rig.controller.Save();
    std::stringstream bytes;
    {
        std::ifstream in(rig.view.savePath, std::ios::binary);
        bytes << in.rdbuf();
    }
    EXPECT_EQ(bytes.str(), rig.controller.Session().Csv());
    EXPECT_EQ(rig.view.status, "Enter で次の数字");

    rig.view.savePath = dir / "no" / "such" / "folder.csv";
    rig.controller.Save();
    EXPECT_EQ(rig.view.status.rfind("保存できませんでした：", 0), 0u) << rig.view.status;
    EXPECT_EQ(rig.traced.back().rfind("save-failed ", 0), 0u);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

}  // namespace
}  // namespace drill
