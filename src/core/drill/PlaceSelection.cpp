#include "core/drill/PlaceSelection.h"

#include <stdexcept>

namespace drill {

namespace {

void RequirePlace(int index) {
    if (index < 1 || index > kPlaceCount) throw std::out_of_range("place index outside 1..15");
}

}  // namespace

PlaceSelection::PlaceSelection(ReadOut1State& state, PlaceBoxView& view) : state_(state), view_(view) {}

std::array<bool, kPlaceCount + 1>& PlaceSelection::Boxes(PlaceColumn column) {
    return column == PlaceColumn::Check1 ? check1_ : check2_;
}

bool PlaceSelection::Ticked(PlaceColumn column, int index) const {
    RequirePlace(index);
    return column == PlaceColumn::Check1 ? check1_[index] : check2_[index];
}

void PlaceSelection::SetBox(PlaceColumn column, int index, bool ticked) {
    auto& boxes = Boxes(column);
    if (boxes[index] == ticked) return;
    boxes[index] = ticked;
    view_.setPlaceBoxTicked(column, index, ticked);
}

void PlaceSelection::ClickCheck1(int index) {
    RequirePlace(index);
    SetBox(PlaceColumn::Check1, index, !check1_[index]);
    Check1_Click(static_cast<int16_t>(index));
}

void PlaceSelection::ClickCheck2(int index) {
    RequirePlace(index);
    SetBox(PlaceColumn::Check2, index, !check2_[index]);
    Check2_Click(static_cast<int16_t>(index));
}

void PlaceSelection::Check1_Click(int16_t Index) {
    RequirePlace(Index);
    if (state_.RangeClickBusy) return;
    state_.PlaceMode = 1;
    state_.DigitFlags[Index] = state_.DigitFlags[Index] == 1 ? 0 : 1;
    state_.DigitClickBusy = true;
    for (int p = 1; p <= kPlaceCount; ++p) {
        if (check2_[p]) {
            SetBox(PlaceColumn::Check2, p, false);
            state_.RangeFlags[p] = 0;
        }
    }
    state_.DigitClickBusy = false;
}

void PlaceSelection::Check2_Click(int16_t Index) {
    RequirePlace(Index);
    if (state_.DigitClickBusy) return;
    state_.PlaceMode = 2;
    state_.RangeFlags[Index] = state_.RangeFlags[Index] == 1 ? 0 : 1;
    int lo = kPlaceCount;
    int hi = 1;
    for (int p = 1; p <= kPlaceCount; ++p) {
        if (check2_[p]) {
            if (p < lo) lo = p;
            if (p > hi) hi = p;
        }
    }
    for (int p = lo; p <= hi; ++p) {
        state_.RangeFlags[p] = 1;
        SetBox(PlaceColumn::Check2, p, true);
    }
    state_.RangeClickBusy = true;
    for (int p = 1; p <= kPlaceCount; ++p) {
        if (check1_[p]) {
            SetBox(PlaceColumn::Check1, p, false);
            state_.DigitFlags[p] = 0;
        }
    }
    if (state_.RangeFlags[Index] == 1) SetBox(PlaceColumn::Check2, Index, true);
    state_.RangeClickBusy = false;
}

bool PlaceSelection::applyDefaultSelection() {
    if (FlagSum(state_.DigitFlags) != 0 || FlagSum(state_.RangeFlags) != 0) return false;
    for (int p : {3, 2, 1}) {
        // Ticking an unticked box by code counts as a click on it; an already ticked box raises none.
        if (check1_[p]) continue;
        SetBox(PlaceColumn::Check1, p, true);
        Check1_Click(static_cast<int16_t>(p));
    }
    return true;
}

}  // namespace drill
