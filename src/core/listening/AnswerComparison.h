#pragma once

#include <string>
#include <vector>

namespace drill {

// A number given with a missing or extra digit is shifted in place, not wrong in every digit.
enum class PlaceShift { None, Missing, Extra };

struct AnswerComparison {
    bool correct = false;
    PlaceShift shift = PlaceShift::None;
    // How many digits are missing or extra.
    int shiftDigits = 0;
    // Per digit of the answer, left to right: wrong or extra.
    std::vector<bool> answerMarks;
    // Per digit of the correct number, left to right: missing from the answer or heard wrong.
    std::vector<bool> correctMarks;
    // Places of the correct number (1 = units) whose digit the answer gets wrong by place value,
    // highest first: what the statistics count.
    std::vector<int> wrongPlaces;
    // With a shift: places of the correct number heard as another digit once the shift is set
    // aside, highest first. Without one it equals wrongPlaces.
    std::vector<int> misheardPlaces;
};

// Compares two digit strings (no leading zeros, as NormaliseAnswer gives them). Numbers of equal
// length are compared digit by digit; otherwise the answer is aligned to the correct number with the
// fewest missing, extra and changed digits, preferring to line digits up, so "3000000000" against
// "3000000" is three extra zeros, not ten wrong digits.
AnswerComparison CompareAnswer(const std::string& correct, const std::string& answer);

// "一", "十", ..., "百兆" for places 1 to 15, then "千兆", "一京", "十京"; empty outside 1..18.
std::string PlaceName(int place);

// The line under the answer, in the learner's terms: "正解", "間違えた位：十万の位、一億の位", or
// "位ずれ：1桁多い（百万の位を十億の位と聞き違え）" followed by any other misheard places.
std::string VerdictLine(const AnswerComparison& comparison, int correctDigits, int answerDigits);

// One character of a grouped number with its mark.
struct MarkedChar {
    char c;
    bool wrong;
};

// Digits grouped by threes with "," (as the main window shows numbers), each digit with its mark.
std::vector<MarkedChar> GroupMarked(const std::string& digits, const std::vector<bool>& marks);

}  // namespace drill
