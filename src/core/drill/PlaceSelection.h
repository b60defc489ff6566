#pragma once

#include "core/drill/ReadOut1State.h"

#include <array>
#include <cstdint>

namespace drill {

// The two check-box columns: Check1 (digit selection) and Check2 (range selection).
enum class PlaceColumn { Check1, Check2 };

// Mirrors each change of a modelled box on the window's real check box.
// The window should apply it with the box's signals blocked: a change reported here is never a click.
class PlaceBoxView {
public:
    virtual ~PlaceBoxView() = default;
    virtual void setPlaceBoxTicked(PlaceColumn column, int index, bool ticked) = 0;
};

// The place selection of both columns, with the tick state of all 30 boxes kept here.
class PlaceSelection {
public:
    PlaceSelection(ReadOut1State& state, PlaceBoxView& view);

    // A learner's click: toggles the box, then runs the column's handler with the tick as it now stands.
    void ClickCheck1(int index);
    void ClickCheck2(int index);

    // The column handlers; they read the boxes as they stand. Index is 1..15.
    void Check1_Click(int16_t Index);
    void Check2_Click(int16_t Index);

    // Ticks digit boxes 3, 2, 1 in that order, each handled as a digit click, when no place is selected
    // in either column. Returns whether it did so.
    bool applyDefaultSelection();

    bool Ticked(PlaceColumn column, int index) const;

private:
    void SetBox(PlaceColumn column, int index, bool ticked);
    std::array<bool, kPlaceCount + 1>& Boxes(PlaceColumn column);

    ReadOut1State& state_;
    PlaceBoxView& view_;
    std::array<bool, kPlaceCount + 1> check1_{};
    std::array<bool, kPlaceCount + 1> check2_{};
};

}  // namespace drill
