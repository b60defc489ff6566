#include "core/listening/WindowBeside.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace drill {
namespace {

long long Overlap(const ScreenRect& a, const ScreenRect& b) {
    const long long w = std::min(a.Right(), b.Right()) - std::max(a.x, b.x);
    const long long h = std::min(a.Bottom(), b.Bottom()) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

ScreenRect OnScreen(ScreenRect r, const ScreenRect& screen) {
    r.width = std::min(r.width, screen.width);
    r.height = std::min(r.height, screen.height);
    return ui::keptOnScreen(r, screen);
}

std::optional<ScreenRect> CharacterBeside(const BesideOwnerScene& scene, const ScreenRect& window, int gap) {
    if (!scene.character || Overlap(*scene.character, window) == 0) return std::nullopt;
    const ScreenRect& now = *scene.character;
    std::optional<ScreenRect> best;
    std::tuple<long long, long long, long long, long long> bestCost;
    for (const int x : {window.Right() + gap, window.x - gap - now.width}) {
        for (const int y : {window.Bottom() - now.height, now.y}) {
            const ScreenRect at = OnScreen({x, y, now.width, now.height}, scene.screen);
            const auto cost =
                std::make_tuple(Overlap(at, window), Overlap(at, scene.keepVisible), Overlap(at, scene.owner),
                                std::llabs(at.x - now.x) + std::llabs(at.y - now.y));
            if (!best || cost < bestCost) {
                best = at;
                bestCost = cost;
            }
        }
    }
    return best;
}

}  // namespace

BesidePlacement BesideOwner(const BesideOwnerScene& scene, int width, int height, int gap) {
    const ScreenRect& owner = scene.owner;
    const ScreenRect& screen = scene.screen;
    const ScreenRect right = OnScreen({owner.Right() + gap, owner.y, width, height}, screen);
    const ScreenRect left = OnScreen({owner.x - gap - width, owner.y, width, height}, screen);
    const auto cost = [&](const ScreenRect& r, int room) {
        return std::make_tuple(Overlap(r, scene.keepVisible), Overlap(r, owner),
                               scene.character ? Overlap(r, *scene.character) : 0LL, -room);
    };
    const bool toRight = cost(right, screen.Right() - owner.Right()) <= cost(left, owner.x - screen.x);
    const ScreenRect window = toRight ? right : left;
    return {window, CharacterBeside(scene, window, gap)};
}

}  // namespace drill
