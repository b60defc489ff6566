#pragma once

#include "core/listening/ListeningSession.h"

#include <array>
#include <string>

namespace drill {

// One row of the per-place table.
struct PlaceRow {
    std::string name;  // "百兆" .. "一"
    int tried = 0;
    int wrong = 0;
};

// What a summary view draws: the same texts and figures on every front end.
struct ListeningSummary {
    static constexpr int kPlaces = kPlaceCount;
    std::string counts;  // "出題 3　正解 2　もう一度 1（うち ゆっくり 0）"
    // Rows, place names and the place chart run from 百兆 down to 一, as the main window's columns do.
    std::array<PlaceRow, kPlaces> rows;
    std::array<double, kPlaces> placeRates{};  // percent
    // Digit counts 1..15.
    std::array<std::string, kPlaces> digitLabels;  // "1桁" ..
    std::array<double, kPlaces> digitRates{};      // percent
};

ListeningSummary SummariseSession(const ListeningSession& session);

// Chart and table titles both front ends use.
inline constexpr const char* kPlaceChartTitle = "位ごとの誤答率";
inline constexpr const char* kDigitChartTitle = "桁数ごとの誤答率";

}  // namespace drill
