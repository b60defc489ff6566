#include "core/drill/DrillSequencer.h"

#include "core/drill/Waits.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace drill {

namespace {

constexpr int kFirstReadingDelay = 10;

}  // namespace

std::string ReadingGapCaption(int16_t readingGap) {
    const int magnitude = std::abs(static_cast<int>(readingGap));
    std::string seconds = std::to_string(magnitude / 1000);
    int fraction = magnitude % 1000;
    if (fraction != 0) {
        std::string digits = std::to_string(1000 + fraction).substr(1);
        while (digits.back() == '0') digits.pop_back();
        seconds += "." + digits;
    }
    return seconds +
           (readingGap >= 0 ? "秒　日英の読上げ間隔を秒　広げる" : "秒　日英の読上げ間隔を秒　縮める");
}

DrillSequencer::DrillSequencer(ReadOut1State& state, DrillHost& host, const NumberTexts& texts,
                               platform::ITimer& timer1, platform::ITimer& timer3, platform::ITimer& timer4)
    : state_(state), host_(host), texts_(texts), timer1_(timer1), timer3_(timer3), timer4_(timer4) {}

int DrillSequencer::EnglishWaitNow() const {
    return EnglishWait(TextLength(texts_.command1Caption()), state_.ZeroCount);
}

int DrillSequencer::JapaneseWaitNow() const {
    return JapaneseWait(TextLength(texts_.text2Text()), state_.ZeroCount);
}

int DrillSequencer::JapaneseWaitWithGapNow() const {
    return JapaneseWaitWithGap(TextLength(texts_.text2Text()), state_.ZeroCount, state_.ReadingGap);
}

void DrillSequencer::SetEnJaEnglishWait() {
    timer1_.setInterval(WithGap(EnglishWaitNow(), state_.ReadingGap));
}

void DrillSequencer::SetJaEnEnglishWait() {
    timer3_.setInterval(EnglishWaitNow());
}

void DrillSequencer::SetSingleEnglishWait() {
    timer4_.setInterval(WithGap(EnglishWaitNow(), state_.ReadingGap));
}

void DrillSequencer::Start(StartButton button, platform::ITimer& own, platform::ITimer& stopA,
                           platform::ITimer& stopB) {
    stopA.setEnabled(false);
    stopB.setEnabled(false);
    host_.applyDefaultSelection();
    NextNumber(button != StartButton::Command8, button != StartButton::Command7);
    own.setInterval(kFirstReadingDelay);
    own.setEnabled(true);
    switch (button) {
        case StartButton::Command4:
            state_.EnJaFirstDue = true;
            break;
        case StartButton::Command5:
            state_.JaEnFirstDue = true;
            break;
        case StartButton::Command7:
            state_.EnglishOnly = true;
            state_.PhaseFlag = true;
            break;
        case StartButton::Command8:
            state_.EnglishOnly = false;
            state_.PhaseFlag = true;
            break;
    }
    host_.focusStartButton(button);
    host_.ResetStartButtonColors();
    host_.colourStartButtonPink(button);
}

void DrillSequencer::Stop() {
    for (platform::ITimer* t : {&timer1_, &timer3_, &timer4_}) t->setEnabled(false);
}

void DrillSequencer::Command4_Click() {
    Start(StartButton::Command4, timer1_, timer4_, timer3_);
}
void DrillSequencer::Command5_Click() {
    Start(StartButton::Command5, timer3_, timer4_, timer1_);
}
void DrillSequencer::Command7_Click() {
    Start(StartButton::Command7, timer4_, timer1_, timer3_);
}
void DrillSequencer::Command8_Click() {
    Start(StartButton::Command8, timer4_, timer1_, timer3_);
}

void DrillSequencer::Timer1_Timer() {
    if (state_.EnJaFirstDue) {
        state_.EnJaFirstDue = false;
        state_.PhaseFlag = false;
        SetEnJaEnglishWait();
        host_.SpeakEnglish();
        CountNumberRead(state_);
    } else if (state_.PhaseFlag) {
        NextNumber(true, true);
        state_.PhaseFlag = false;
        state_.EnJaFirstDue = true;
        timer1_.setInterval(2000);
    } else {
        state_.EnJaFirstDue = false;
        state_.PhaseFlag = true;
        host_.SpeakJapanese();
        timer1_.setInterval(JapaneseWaitNow());
    }
}

void DrillSequencer::Timer3_Timer() {
    if (state_.JaEnFirstDue) {
        state_.JaEnFirstDue = false;
        state_.PhaseFlag = false;
        timer3_.setInterval(JapaneseWaitWithGapNow());
        host_.SpeakJapanese();
        CountNumberRead(state_);
    } else if (state_.PhaseFlag) {
        NextNumber(true, true);
        state_.PhaseFlag = false;
        state_.JaEnFirstDue = true;
        timer3_.setInterval(4000);
    } else {
        state_.JaEnFirstDue = false;
        state_.PhaseFlag = true;
        SetJaEnEnglishWait();
        host_.SpeakEnglish();
    }
}

void DrillSequencer::Timer4_Timer() {
    timer1_.setEnabled(false);
    timer3_.setEnabled(false);
    if (state_.EnglishOnly) {
        if (state_.PhaseFlag) {
            state_.PhaseFlag = false;
            SetSingleEnglishWait();
            host_.SpeakEnglish();
            CountNumberRead(state_);
        } else {
            state_.PhaseFlag = true;
            NextNumber(true, false);
            timer4_.setInterval(2000);
        }
    } else {
        if (state_.PhaseFlag) {
            state_.PhaseFlag = false;
            host_.SpeakJapanese();
            CountNumberRead(state_);
            timer4_.setInterval(JapaneseWaitWithGapNow());
        } else {
            state_.PhaseFlag = true;
            NextNumber(false, true);
            timer4_.setInterval(3000);
        }
    }
}

void DrillSequencer::NextNumber(bool english, bool japanese) {
    host_.MakeNumber();
    host_.prepareReadings(english, japanese);
}

void DrillSequencer::ChangeGap(int delta) {
    const int gap =
        std::clamp(state_.ReadingGap + delta, static_cast<int>(std::numeric_limits<int16_t>::min()),
                   static_cast<int>(std::numeric_limits<int16_t>::max()));
    state_.ReadingGap = static_cast<int16_t>(gap);
    host_.setCommand3Caption(ReadingGapCaption(state_.ReadingGap));
}

void DrillSequencer::UpDown1_UpClick() {
    if (state_.ReadingGap >= kReadingGapMax) return;
    ChangeGap(host_.upDown1Increment());
}

void DrillSequencer::UpDown1_DownClick() {
    if (state_.ReadingGap <= kReadingGapMin) return;
    ChangeGap(-host_.upDown1Increment());
}

}  // namespace drill
