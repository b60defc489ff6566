#pragma once

#include "core/drill/NumberTexts.h"
#include "core/drill/ReadOut1State.h"
#include "platform/Timer.h"

#include <cstdint>
#include <string>

namespace drill {

// The four start buttons, numbered as their controls.
enum class StartButton { Command4 = 4, Command5 = 5, Command7 = 7, Command8 = 8 };

struct Rgb {
    int red;
    int green;
    int blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Colour of the start button of the mode last started.
inline constexpr Rgb kStartButtonPink{255, 192, 255};

// Step of UpDown1 at design time, and the bounds of the reading gap.
inline constexpr int kUpDown1Increment = 200;
inline constexpr int kReadingGapMax = 10000;
inline constexpr int kReadingGapMin = -2000;

// What the sequencer asks of the window's controls.
class DrillView {
public:
    virtual ~DrillView() = default;
    virtual void focusStartButton(StartButton button) = 0;
    // Command4, Command5, Command7, Command8, in this order, back to the button-face colour.
    virtual void ResetStartButtonColors() = 0;
    // Back colour kStartButtonPink.
    virtual void colourStartButtonPink(StartButton button) = 0;
    virtual void setCommand3Caption(const std::string& caption) = 0;
    // UpDown1's Increment, read at each click.
    virtual int upDown1Increment() const = 0;
};

// Everything the sequencer calls: the window's controls and the other drill parts.
class DrillHost : public DrillView {
public:
    virtual void MakeNumber() = 0;
    virtual void SpeakEnglish() = 0;
    virtual void SpeakJapanese() = 0;
    // Has the character synthesise ahead the readings that the drill will speak of the number now
    // shown; a later Speak of the same text then plays at once. Changes nothing the learner sees.
    virtual void prepareReadings(bool english, bool japanese) { (void)english, (void)japanese; }
    // Ticks digit boxes 3, 2, 1 as clicks when no place is selected; otherwise changes nothing.
    virtual void applyDefaultSelection() = 0;
};

// Caption of Command3 for a reading gap in milliseconds: "0.2秒　日英の読上げ間隔を秒　広げる".
std::string ReadingGapCaption(int16_t readingGap);

// The four drill modes, paced by Timer1 (English then Japanese), Timer3 (Japanese then English)
// and Timer4 (single language).
class DrillSequencer {
public:
    DrillSequencer(ReadOut1State& state, DrillHost& host, const NumberTexts& texts, platform::ITimer& timer1,
                   platform::ITimer& timer3, platform::ITimer& timer4);

    void Command4_Click();
    void Command5_Click();
    void Command7_Click();
    void Command8_Click();

    void Timer1_Timer();
    void Timer3_Timer();
    void Timer4_Timer();

    void UpDown1_UpClick();
    void UpDown1_DownClick();

    // Stops whichever drill runs: its timer is disabled, the number shown stays. The listening test
    // stops the drill so that the two never talk over each other, as a start button stops the others.
    void Stop();

    void SetEnJaEnglishWait();
    void SetJaEnEnglishWait();
    void SetSingleEnglishWait();

    // Waits of the current number, from its texts, ZeroCount and ReadingGap.
    int EnglishWaitNow() const;
    int JapaneseWaitNow() const;
    int JapaneseWaitWithGapNow() const;

private:
    void Start(StartButton button, platform::ITimer& own, platform::ITimer& stopA, platform::ITimer& stopB);
    void ChangeGap(int delta);
    // MakeNumber, then the readings of that number that this mode will speak are prepared.
    void NextNumber(bool english, bool japanese);

    ReadOut1State& state_;
    DrillHost& host_;
    const NumberTexts& texts_;
    platform::ITimer& timer1_;
    platform::ITimer& timer3_;
    platform::ITimer& timer4_;
};

}  // namespace drill
