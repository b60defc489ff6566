#include "drill/logic/ReadOut1Logic.h"

#include <random>

namespace drill {

class ReadOut1Logic::Host final : public DrillHost {
public:
    Host(ReadOut1Logic& logic, DrillView& view) : logic_(logic), view_(view) {}

    void MakeNumber() override { logic_.generator_.MakeNumber(); }
    void SpeakEnglish() override { logic_.speaker_.SpeakEnglish(); }
    void SpeakJapanese() override { logic_.speaker_.SpeakJapanese(); }
    void PrepareReadings(bool english, bool japanese) override {
        logic_.speaker_.PrepareReadings(english, japanese);
    }
    void ApplyDefaultSelection() override { logic_.places_.ApplyDefaultSelection(); }
    void FocusStartButton(StartButton button) override { view_.FocusStartButton(button); }
    void ResetStartButtonColors() override { view_.ResetStartButtonColors(); }
    void ColourStartButtonPink(StartButton button) override { view_.ColourStartButtonPink(button); }
    void SetCommand3Caption(const std::string& caption) override { view_.SetCommand3Caption(caption); }
    int UpDown1Increment() const override { return view_.UpDown1Increment(); }

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
