#pragma once

// Which frame the character shows and for how long: the show animation once, then idle in a loop,
// a blink now and then while idle, and the beak frames while the voice speaks. No toolkit: a front
// end only draws frame() and arms one timer with the delay returned.

#include "core/character/CharacterDocument.h"

#include <map>
#include <string>
#include <vector>

namespace agent::character {

inline constexpr int kBlinkMinMs = 2500;
inline constexpr int kBlinkMaxMs = 6500;

class CharacterAnimation {
public:
    explicit CharacterAnimation(const CharacterDocument& doc);

    // Starts the show animation; returns the ms until step() is due.
    int playShow();
    // The step timer fired; returns the ms until the next step.
    int step();
    // The blink timer fired: starts a blink when idling and silent. Returns the ms until step() is due
    // now, or 0 when nothing changed (the step timer keeps its time).
    int blink();
    // 0 closes the beak and hands back to the animation; above 0 the voice is speaking.
    void setMouth(double openness);

    // The frame to show now.
    const std::string& frame() const;
    const std::string& animation() const { return animation_; }

private:
    int play(const std::string& animation, std::size_t fromStep);

    std::map<std::string, std::vector<DocumentStep>> animations_;
    std::vector<std::string> beakFrames_;
    std::string animation_;
    std::size_t step_ = 0;
    std::size_t idleStep_ = 0;
    bool speaking_ = false;
    int opening_ = 0;  // 0 .. kBeakOpenings - 1
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

inline constexpr int kBalloonGap = 6;

// The balloon beside the character: to the right of it, centred on the beak's height, or to its left
// when the right has no room; kept inside the work area wherever it fits.
PixelRect placeBalloonBeside(int width, int height, const PixelRect& character, int beakY,
                             const PixelRect& work);

}  // namespace agent::character
