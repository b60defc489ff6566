#include "core/character/CharacterAnimation.h"

#include <algorithm>
#include <cmath>

namespace agent::character {

CharacterAnimation::CharacterAnimation(const CharacterDocument& doc)
    : animations_(doc.animations), beakFrames_(doc.beakFrames), animation_(kIdleAnimation) {}

int CharacterAnimation::play(const std::string& animation, std::size_t fromStep) {
    const auto& steps = animations_.at(animation);
    animation_ = animation;
    step_ = std::min(fromStep, steps.size() - 1);
    if (animation == kIdleAnimation) idleStep_ = step_;
    return std::clamp(steps[step_].ms, kMinStepMs, kMaxStepMs);
}

int CharacterAnimation::playShow() {
    return play(kShowAnimation, 0);
}

int CharacterAnimation::step() {
    if (step_ + 1 < animations_.at(animation_).size()) return play(animation_, step_ + 1);
    if (animation_ == kIdleAnimation) return play(animation_, 0);
    // Show and blink hand back to idle where it was interrupted.
    return play(kIdleAnimation, idleStep_);
}

int CharacterAnimation::blink() {
    if (speaking_ || animation_ != kIdleAnimation) return 0;
    return play(kBlinkAnimation, 0);
}

void CharacterAnimation::setMouth(double openness) {
    speaking_ = openness > 0;
    const double clamped = std::clamp(std::isnan(openness) ? 0.0 : openness, 0.0, 1.0);
    opening_ = static_cast<int>(std::lround(clamped * (kBeakOpenings - 1)));
}

const std::string& CharacterAnimation::frame() const {
    // The show animation is never cut short; speech takes over once it ends.
    if (speaking_ && animation_ != kShowAnimation) {
        // A file may offer more openings than the voice reports; spread the voice's over them.
        const auto last = static_cast<double>(beakFrames_.size() - 1);
        return beakFrames_[static_cast<std::size_t>(std::lround(opening_ * last / (kBeakOpenings - 1)))];
    }
    return animations_.at(animation_)[step_].frame;
}

PixelRect placeBalloonBeside(int width, int height, const PixelRect& character, int beakY,
                             const PixelRect& work) {
    PixelRect r{character.right() + kBalloonGap, beakY - height / 2, width, height};
    if (r.right() > work.right() && character.left - kBalloonGap - width >= work.left)
        r.left = character.left - kBalloonGap - width;
    // Clamped low edge last: a balloon taller than the work area keeps its top on screen.
    r.top = std::max(work.top, std::min(r.top, work.bottom() - height));
    return r;
}

}  // namespace agent::character
