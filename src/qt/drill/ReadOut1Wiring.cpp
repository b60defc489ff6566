// Connects the main window's controls to the drill and auto-end logic, and lets the logic read and
// write the controls through the small view interfaces.

#include "core/autoend/AutoEndController.h"
#include "core/trace/Trace.h"
#include "qt/drill/ButtonColour.h"
#include "qt/drill/ReadOut1.h"
#include "qt/ui/UpDown.h"
#include "qt/ui/WidgetTrace.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <array>
#include <utility>

namespace drill {

namespace {
QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
std::string ss(const QString& s) {
    return s.toStdString();
}

}  // namespace

void ReadOut1::wireControls() {
    DrillSequencer& seq = logic_->Sequencer();
    const std::array<std::pair<QPushButton*, void (DrillSequencer::*)()>, 4> starts = {{
        {Command4, &DrillSequencer::Command4_Click},
        {Command5, &DrillSequencer::Command5_Click},
        {Command7, &DrillSequencer::Command7_Click},
        {Command8, &DrillSequencer::Command8_Click},
    }};
    for (const auto& [button, handler] : starts) {
        connect(button, &QPushButton::clicked, this, [&seq, button = button, handler = handler] {
            trace::write("click", button->objectName().toStdString());
            (seq.*handler)();
        });
    }
    Timer1.onTimer([&seq] { seq.Timer1_Timer(); });
    Timer3.onTimer([&seq] { seq.Timer3_Timer(); });
    Timer4.onTimer([&seq] { seq.Timer4_Timer(); });
    connect(UpDown1, &ui::UpDown::upClick, this, [&seq] { seq.UpDown1_UpClick(); });
    connect(UpDown1, &ui::UpDown::downClick, this, [&seq] { seq.UpDown1_DownClick(); });

    // Only the learner's clicks reach the handlers; boxes changed by the logic stay silent.
    PlaceSelection& places = logic_->Places();
    for (int p = 1; p <= 15; ++p) {
        connect(Check1[p], &QCheckBox::clicked, this, [this, &places, p] {
            places.ClickCheck1(p);
            traceBoxes();
        });
        connect(Check2[p], &QCheckBox::clicked, this, [this, &places, p] {
            places.ClickCheck2(p);
            traceBoxes();
        });
    }

    connect(Command6, &QPushButton::clicked, this, &ReadOut1::Command6_Click);
    connect(Command10, &QPushButton::clicked, this, &ReadOut1::Command10_Click);
    ejTimer2.onTimer([this] { ejtimer2_timer(); });
}

// "boxes <Check1 15..1> <Check2 15..1> <PlaceMode>", read off the widgets themselves.
void ReadOut1::traceBoxes() const {
    if (!trace::enabled()) return;
    QString c1, c2;
    for (int p = 15; p >= 1; --p) {
        c1 += Check1[p]->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        c2 += Check2[p]->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    }
    trace::write("boxes",
                 (c1 + QLatin1Char(' ') + c2 + QLatin1Char(' ') + QString::number(logic_->State().PlaceMode))
                     .toStdString());
}

void ReadOut1::Command6_Click() {
    autoEnd_->Command6_Click();
}
void ReadOut1::Command10_Click() {
    autoEnd_->Command10_Click();
}
void ReadOut1::ejtimer2_timer() {
    autoEnd_->ejtimer2_timer();
}

std::string ReadOut1::command1Caption() const {
    return ss(Command1->text());
}
void ReadOut1::setCommand1Caption(const std::string& text) {
    Command1->setText(qs(text));
    if (SpeechChar) SpeechChar->setBalloonSubject(text);
    if (!text.empty()) trace::write("shown", text);
}
std::string ReadOut1::command2Caption() const {
    return ss(Command2->text());
}
void ReadOut1::setCommand2Caption(const std::string& text) {
    Command2->setText(qs(text));
}
std::string ReadOut1::text2Text() const {
    return ss(Text2->text());
}
void ReadOut1::setText2Text(const std::string& text) {
    Text2->setText(qs(text));
}

void ReadOut1::setPlaceBoxTicked(PlaceColumn column, int index, bool ticked) {
    QCheckBox* box = column == PlaceColumn::Check1 ? Check1[index] : Check2[index];
    const QSignalBlocker quiet(box);
    box->setChecked(ticked);
}

QPushButton* ReadOut1::startButton(StartButton button) const {
    switch (button) {
        case StartButton::Command4:
            return Command4;
        case StartButton::Command5:
            return Command5;
        case StartButton::Command7:
            return Command7;
        case StartButton::Command8:
            return Command8;
    }
    return Command4;
}

void ReadOut1::focusStartButton(StartButton button) {
    startButton(button)->setFocus(Qt::OtherFocusReason);
}

void ReadOut1::ResetStartButtonColors() {
    const QColor face = palette().color(QPalette::Button);
    for (QPushButton* b : {Command4, Command5, Command7, Command8}) setButtonBackColour(b, face);
}

void ReadOut1::colourStartButtonPink(StartButton button) {
    const Rgb pink = kStartButtonPink;
    setButtonBackColour(startButton(button), QColor(pink.red, pink.green, pink.blue));
}

void ReadOut1::setCommand3Caption(const std::string& caption) {
    Command3->setText(qs(caption));
}
int ReadOut1::upDown1Increment() const {
    return UpDown1->Increment();
}

// The auto-end's visible changes also go to the trace: an end-to-end run cannot read them off the screen.
void ReadOut1::setCommand6Enabled(bool enabled) {
    Command6->setEnabled(enabled);
    trace::write("autoend", std::string("Command6 enabled ") + (enabled ? "1" : "0"));
}
void ReadOut1::setLabel4Visible(bool visible) {
    Label4->setVisible(visible);
    trace::write("autoend", std::string("Label4 visible ") + (visible ? "1" : "0"));
}
void ReadOut1::showFrame1() {
    // Every tick shows the frame again; one line for the change is enough.
    const bool change = Frame1->isHidden();
    Frame1->show();
    Frame1->raise();
    if (change) trace::write("autoend", "Frame1 visible 1");
}
void ReadOut1::hideFrame1() {
    Frame1->hide();
    trace::write("autoend", "Frame1 visible 0");
}
void ReadOut1::setCommand9Caption(const std::string& caption) {
    const QString text = qs(caption);
    if (text == Command9->text()) return;
    Command9->setText(text);
    trace::write("autoend", "Command9 caption " + caption);
}
void ReadOut1::quitProgram() {
    trace::write("autoend", "quit");
    close();
}

void ReadOut1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!trace::enabled()) return;
    // Positions are final once the window is mapped.
    QTimer::singleShot(0, this, [this] { traceAutoEndControls(); });
}

void ReadOut1::traceAutoEndControls() const {
    for (QWidget* w : std::initializer_list<QWidget*>{Command6, Frame1, Command9, Command10, Label4})
        ui::traceGeometry("autoend", w->objectName(), w);
    trace::write("autoend", "window shown");
}

}  // namespace drill
