#pragma once

#include "core/agent/AgentApi.h"
#include "core/autoend/MainWindowHost.h"
#include "core/drill/ReadOut1Logic.h"
#include "platform/Power.h"
#include "qt/ui/VbTimer.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ui {
class UpDown;
}  // namespace ui

namespace platform {
class Registry;
class IPower;
}  // namespace platform

namespace autoend {
class AutoEndController;
class QtEndSetDialogs;
}  // namespace autoend

namespace drill {

class ListeningTest;

// What the window needs from outside; tests hand in fakes.
struct ReadOut1Deps {
    std::unique_ptr<agent::IAgent> agent;
    // The registry the edition is read from; null means the host's own.
    std::shared_ptr<platform::Registry> registry;
    // The shutdown requests; null means the machine's own.
    std::unique_ptr<platform::IPower> power;
    // The random source of the draws; null means the shipped generator.
    std::unique_ptr<RandomSource> random;
    // Folder that holds the character file; empty means the program's own directory.
    QString characterDir;
};

// The drill's main window: it owns the controls and the shared state and wires them to the drill logic.
class ReadOut1 : public QMainWindow,
                 private NumberTexts,
                 private PlaceBoxView,
                 private DrillView,
                 public autoend::MainWindowHost {
    Q_OBJECT
public:
    explicit ReadOut1(ReadOut1Deps deps, QWidget* parent = nullptr);
    ~ReadOut1() override;

    // Runs the start-up steps; throws agent::AgentError (or std::exception) when one fails.
    void Form_Load();

    void Option1_Click(int index);
    void Copyright_Click();
    void Command6_Click();
    void Command10_Click();
    void ejtimer2_timer() override;
    // 聞き取りテスト: stops the drill and opens (or raises) the listening test beside the window.
    void ListeningTestMenu_Click();
    ListeningTest* ListeningTestWindow() const;

    int16_t& RecCount1() { return logic_->State().RecCount1; }
    ReadOut1State& State() { return logic_->State(); }

    // --- controls, under their own names ---
    QPushButton* Command1 = nullptr;  // the number
    QPushButton* Command2 = nullptr;  // Japanese reading text (hidden)
    QPushButton* Command3 = nullptr;  // caption of the gap arrows
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QFrame* Frame1 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;  // English reading text (hidden)
    QLineEdit* Text4 = nullptr;
    std::array<QCheckBox*, 16> Check1{};  // index 0 unused
    std::array<QCheckBox*, 16> Check2{};
    ui::UpDown* UpDown1 = nullptr;
    QAction* Copyright = nullptr;
    QAction* Version = nullptr;
    QAction* ListeningTestMenu = nullptr;
    QMenu* EnglishVoiceMenu = nullptr;  // 英語の声: one checked item, the voice of the next English reading
    ui::VbTimer Timer1;
    ui::VbTimer Timer3;
    ui::VbTimer Timer4;
    ui::VbTimer ejTimer2;

    agent::IAgent& Agent1() { return *agent_; }
    agent::ICharacter* SpeechChar = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void fitFonts();
    QStringList runTimeTexts(const QWidget* control) const;
    void addListeningTestMenu();
    void addEnglishVoiceMenu();
    void wireControls();
    void traceBoxes() const;
    void traceAutoEndControls() const;

    // NumberTexts
    std::string command1Caption() const override;
    void setCommand1Caption(const std::string& text) override;
    std::string command2Caption() const override;
    void setCommand2Caption(const std::string& text) override;
    std::string text2Text() const override;
    void setText2Text(const std::string& text) override;
    // PlaceBoxView
    void setPlaceBoxTicked(PlaceColumn column, int index, bool ticked) override;
    // DrillView
    void focusStartButton(StartButton button) override;
    void ResetStartButtonColors() override;
    void colourStartButtonPink(StartButton button) override;
    void setCommand3Caption(const std::string& caption) override;
    int upDown1Increment() const override;
    // autoend::MainWindowHost
    platform::ITimer& getEjTimer2() override { return ejTimer2; }
    void setCommand6Enabled(bool enabled) override;
    void setLabel4Visible(bool visible) override;
    void showFrame1() override;
    void hideFrame1() override;
    void setCommand9Caption(const std::string& caption) override;
    std::int16_t getRecCount1() const override { return logic_->State().RecCount1; }
    void setRecCount1(std::int16_t value) override { logic_->State().RecCount1 = value; }
    std::string getWinEdition() const override { return logic_->State().WinEdition; }
    void quitProgram() override;
    QPushButton* startButton(StartButton button) const;
    void centreOnScreen();
    void placeCharacter();
    QString characterPath() const;

    std::unique_ptr<agent::IAgent> agent_;
    std::shared_ptr<platform::Registry> registry_;
    QString characterDir_;
    QRect outerRect_;  // frame included, where start-up placed the window
    std::unique_ptr<ReadOut1Logic> logic_;
    std::unique_ptr<autoend::QtEndSetDialogs> endSet_;
    std::unique_ptr<autoend::AutoEndController> autoEnd_;
    QPointer<ListeningTest> listeningTest_;
};

}  // namespace drill
