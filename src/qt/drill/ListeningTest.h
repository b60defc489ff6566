#pragma once

#include "core/agent/AgentApi.h"
#include "core/drill/RandomSource.h"
#include "core/drill/ReadOut1State.h"
#include "core/listening/ListeningDraw.h"
#include "core/listening/ListeningSession.h"

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
};

// The listening test: hear a number without seeing it, type it, see which places were misheard.
// A tool window of ReadOut1; its session lives exactly as long as the window.
class ListeningTest : public QWidget {
    Q_OBJECT
public:
    ListeningTest(ListeningTestDeps deps, QWidget* owner);
    ~ListeningTest() override;

    // Moves the window beside the owner's frame, on the owner's screen.
    void placeBesideOwner();

    // スタート: draws a new number and reads it.
    void Start();
    // もう一度 / ゆっくり: reads the current number again.
    void Replay(ReadingPace pace);
    // Enter in the answer box: starts, checks, or goes on to the next number.
    void Enter();
    // 結果を保存…
    void Save();

    const ListeningSession& Session() const { return session_; }
    bool HasNumber() const { return current_.has_value(); }
    bool Answered() const { return answered_; }

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

private:
    void build();
    void check();
    void read(ReadingPace pace);
    void showStatus();
    void clearResult();
    ListeningLanguage chosenLanguage() const;

    ListeningTestDeps deps_;
    std::unique_ptr<RandomSource> random_;
    ListeningSession session_;
    std::optional<ListeningNumber> current_;
    ListeningLanguage currentLanguage_ = ListeningLanguage::English;
    bool answered_ = false;
    int replays_ = 0;
    int slowReplays_ = 0;
};

// The marked digits as rich text: wrong digits red and underlined. Only digits and commas come in.
QString MarkedDigitsHtml(const std::string& digits, const std::vector<bool>& marks);

}  // namespace drill
