#pragma once

#include "core/agent/AgentApi.h"
#include "core/drill/RandomSource.h"
#include "core/drill/ReadOut1State.h"
#include "core/listening/ListeningController.h"
#include "core/listening/ListeningDraw.h"
#include "core/listening/ListeningSession.h"
#include "qt/drill/RateChart.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace drill {

class ListeningSummaryView;

// What the test window needs from the main window; tests hand in fakes.
struct ListeningTestDeps {
    const ReadOut1State* mainState = nullptr;  // read at each draw, never written
    agent::ICharacters* characters = nullptr;
    agent::ICharacter* speechChar = nullptr;
    // Null gives a generator seeded from the clock.
    std::unique_ptr<RandomSource> random;
    // Called before each reading so that nothing else talks over it (the main window stops its drill).
    std::function<void()> beforeReading;
    // Asks where to save the CSV; an empty answer saves nothing. Null asks with a file dialog.
    std::function<QString(QWidget* parent)> askSavePath;
    // The owner's controls the test still needs (its place columns), on the screen; null: none.
    std::function<QRect()> keepVisible;
    // Makes the summary's rate charts; null: the charts module beside the program.
    RateChartFactory rateCharts = nullptr;
};

// The listening test: hear a number without seeing it, type it, see which places were misheard.
// A tool window of ReadOut1 over the toolkit-free controller; its session lives exactly as long as the
// window.
class ListeningTest : public QWidget, public ListeningView {
    Q_OBJECT
public:
    ListeningTest(ListeningTestDeps deps, QWidget* owner);
    ~ListeningTest() override;

    // Moves the window beside the owner's frame, on the owner's screen; a character it would lie
    // under moves aside, and goes back when the window closes.
    void placeBesideOwner();

    // スタート: draws a new number and reads it.
    void Start();
    // もう一度 / ゆっくり: reads the current number again.
    void Replay(ReadingPace pace);
    // Enter in the answer box: starts, checks, or goes on to the next number.
    void Enter();
    // 結果を保存…
    void Save();

    const ListeningSession& Session() const { return controller_->Session(); }
    bool HasNumber() const { return controller_->HasNumber(); }
    bool Answered() const { return controller_->Answered(); }

    QRadioButton* EnglishOption = nullptr;
    QRadioButton* JapaneseOption = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* ReplayButton = nullptr;
    QPushButton* SlowButton = nullptr;
    QLineEdit* AnswerBox = nullptr;
    QLabel* Hint = nullptr;
    QLabel* Status = nullptr;
    QLabel* CorrectLine = nullptr;
    QLabel* AnswerLine = nullptr;
    QLabel* Verdict = nullptr;
    QPushButton* SaveButton = nullptr;
    ListeningSummaryView* Summary = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build(RateChartFactory rateCharts);

    // ListeningView
    ListeningLanguage ChosenLanguage() const override;
    std::string AnswerText() const override;
    void ClearAnswer() override;
    void SetHint(const std::string& text) override;
    void SetStatus(const std::string& text) override;
    void ShowResult(const ListeningResult& result) override;
    void ClearResult() override;
    void SetReplayEnabled(bool enabled) override;
    void ShowSummary(const ListeningSummary& summary) override;
    void FocusAnswer() override;
    std::filesystem::path AskSavePath() override;

    std::function<QString(QWidget* parent)> askSavePath_;
    std::function<QRect()> keepVisible_;
    agent::ICharacter* speechChar_;
    std::unique_ptr<ListeningController> controller_;
    std::optional<QPoint> characterHome_;  // where the character stood before the window moved it
};

// The marked digits as rich text: wrong digits red and underlined. Only digits and commas come in.
QString MarkedDigitsHtml(const std::vector<MarkedChar>& marked);
QString MarkedDigitsHtml(const std::string& digits, const std::vector<bool>& marks);

}  // namespace drill
