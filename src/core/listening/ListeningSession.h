#pragma once

#include "core/drill/ReadOut1State.h"
#include "core/listening/AnswerComparison.h"

#include <array>
#include <string>
#include <vector>

namespace drill {

enum class ListeningLanguage { English, Japanese };

// One number of the session as it was answered.
struct ListeningTrial {
    ListeningLanguage language = ListeningLanguage::English;
    std::string correct;  // digits
    std::string answer;   // digits, as normalised
    AnswerComparison comparison;
    int replays = 0;      // もう一度 before the answer
    int slowReplays = 0;  // ゆっくり before the answer
};

struct TriedWrong {
    int tried = 0;
    int wrong = 0;
    // Percent, 0 when nothing was tried.
    double ErrorRate() const { return tried == 0 ? 0.0 : 100.0 * wrong / tried; }
};

// The statistics of one open test window; nothing outlives it.
class ListeningSession {
public:
    void Record(ListeningTrial trial);
    // Every replay counts, also one asked for after the answer was checked.
    void CountReplay(bool slow);

    int Tried() const { return static_cast<int>(trials_.size()); }
    int Correct() const;
    int Replays() const { return replays_ + slowReplays_; }
    int SlowReplays() const { return slowReplays_; }

    // Place p (1..15) is tried by every number that has it; wrong when its digit is wrong by place value.
    TriedWrong Place(int place) const;
    // Numbers of n digits (1..15): wrong when the answer was not right.
    TriedWrong DigitCount(int digits) const;

    const std::vector<ListeningTrial>& Trials() const { return trials_; }

    // One row per number, a header first; UTF-8 with a byte-order mark so spreadsheet programs
    // open the Japanese headers, CRLF line ends.
    std::string Csv() const;

private:
    std::vector<ListeningTrial> trials_;
    std::array<TriedWrong, kPlaceCount + 1> places_{};
    std::array<TriedWrong, kPlaceCount + 1> digitCounts_{};
    int replays_ = 0;
    int slowReplays_ = 0;
};

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

}  // namespace drill
