#pragma once

#include <functional>

// The text-fit rule both front ends follow: the stand-in faces are wider than the originals, so a
// control whose text would be clipped at its design size gets a smaller font, never a new geometry.
namespace ui {

inline constexpr double kFitStepPoints = 0.25;
inline constexpr double kFitSmallestPoints = 6.0;

// The largest size from designPoints down in quarter points at which fits(points) holds, or the
// smallest size when none does; never more than designPoints. Each front end measures with its own
// toolkit.
inline double fittingPoints(double designPoints, const std::function<bool(double points)>& fits) {
    for (double points = designPoints; points >= kFitSmallestPoints; points -= kFitStepPoints) {
        if (fits(points)) return points;
    }
    return designPoints < kFitSmallestPoints ? designPoints : kFitSmallestPoints;
}

}  // namespace ui
