#include "core/drill/ReadOut1Logic.h"

#include <random>

namespace drill {

class ReadOut1Logic::Host final : public DrillHost {
public:
    Host(ReadOut1Logic& logic, DrillView& view) : logic_(logic), view_(view) {}

    void MakeNumber() override { logic_.generator_.MakeNumber(); }
    void SpeakEnglish() override { logic_.speaker_.SpeakEnglish(); }
    void SpeakJapanese() override { logic_.speaker_.SpeakJapanese(); }
    void prepareReadings(bool english, bool japanese) override {
        logic_.speaker_.prepareReadings(english, japanese);
    }
    void applyDefaultSelection() override { logic_.places_.applyDefaultSelection(); }
    void focusStartButton(StartButton button) override { view_.focusStartButton(button); }
    void ResetStartButtonColors() override { view_.ResetStartButtonColors(); }
    void colourStartButtonPink(StartButton button) override { view_.colourStartButtonPink(button); }
    void setCommand3Caption(const std::string& caption) override { view_.setCommand3Caption(caption); }
    int upDown1Increment() const override { return view_.upDown1Increment(); }

private:
    ReadOut1Logic& logic_;
    DrillView& view_;
};

namespace {

std::unique_ptr<RandomSource> OrDefault(std::unique_ptr<RandomSource> random) {
    if (random) return random;
    std::random_device device;
    const uint64_t seed = (static_cast<uint64_t>(device()) << 32) ^ device() ^ SystemClockReading();
    return std::make_unique<Xoshiro256Source>(seed);
}

}  // namespace

ReadOut1Logic::ReadOut1Logic(const ReadOut1Controls& controls, std::unique_ptr<RandomSource> random,
                             NumberGenerator::Clock clock)
    : random_(OrDefault(std::move(random))),
      places_(state_, controls.placeBoxes),
      generator_(state_, places_, controls.texts, *random_, std::move(clock)),
      speaker_(state_, controls.texts, controls.characters),
      host_(std::make_unique<Host>(*this, controls.view)),
      sequencer_(state_, *host_, controls.texts, controls.timer1, controls.timer3, controls.timer4) {}

ReadOut1Logic::~ReadOut1Logic() = default;

}  // namespace drill
