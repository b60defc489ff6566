#include "core/listening/AnswerComparison.h"

#include <algorithm>
#include <array>

namespace drill {

namespace {

constexpr std::array<const char*, 19> kPlaceNames = {
    "",     "一",   "十",   "百",   "千",   "万",   "十万", "百万", "千万", "一億",
    "十億", "百億", "千億", "一兆", "十兆", "百兆", "千兆", "一京", "十京",
};

// Places (1 = units) whose digit differs by place value; absent digits count as 0.
std::vector<int> PlaceValueDifferences(const std::string& correct, const std::string& answer) {
    std::vector<int> places;
    const int n = static_cast<int>(correct.size());
    const int m = static_cast<int>(answer.size());
    for (int p = n; p >= 1; --p) {
        const char want = correct[n - p];
        const char got = p <= m ? answer[m - p] : '0';
        if (want != got) places.push_back(p);
    }
    return places;
}

// Levenshtein alignment. Among equally short alignments the trace-back prefers lining equal digits
// up, then a missing or extra digit, then a changed one, so the shift lands where the digits differ
// and as far left as it can.
void Align(const std::string& c, const std::string& a, AnswerComparison& out) {
    const size_t n = c.size();
    const size_t m = a.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1, 0));
    for (size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i)
        for (size_t j = 1; j <= m; ++j)
            d[i][j] = std::min(
                {d[i - 1][j - 1] + (c[i - 1] == a[j - 1] ? 0 : 1), d[i - 1][j] + 1, d[i][j - 1] + 1});
    size_t i = n;
    size_t j = m;
    while (i > 0 || j > 0) {
        const bool diagonal = i > 0 && j > 0;
        if (diagonal && c[i - 1] == a[j - 1] && d[i][j] == d[i - 1][j - 1]) {
            --i;
            --j;
        } else if (i > 0 && d[i][j] == d[i - 1][j] + 1) {
            out.correctMarks[i - 1] = true;  // missing from the answer
            --i;
        } else if (j > 0 && d[i][j] == d[i][j - 1] + 1) {
            out.answerMarks[j - 1] = true;  // extra in the answer
            --j;
        } else {
            out.correctMarks[i - 1] = true;  // heard as another digit
            out.answerMarks[j - 1] = true;
            out.misheardPlaces.push_back(static_cast<int>(n - (i - 1)));
            --i;
            --j;
        }
    }
    std::sort(out.misheardPlaces.begin(), out.misheardPlaces.end(), std::greater<>());
}

std::string JoinPlaces(const std::vector<int>& places) {
    std::string line;
    for (int p : places) {
        if (!line.empty()) line += "、";
        line += PlaceName(p) + "の位";
    }
    return line;
}

}  // namespace

AnswerComparison CompareAnswer(const std::string& correct, const std::string& answer) {
    AnswerComparison out;
    out.correct = correct == answer;
    out.answerMarks.assign(answer.size(), false);
    out.correctMarks.assign(correct.size(), false);
    out.wrongPlaces = PlaceValueDifferences(correct, answer);
    if (correct.size() == answer.size()) {
        for (size_t k = 0; k < correct.size(); ++k) {
            const bool wrong = correct[k] != answer[k];
            out.answerMarks[k] = wrong;
            out.correctMarks[k] = wrong;
        }
        out.misheardPlaces = out.wrongPlaces;
        return out;
    }
    out.shift = answer.size() < correct.size() ? PlaceShift::Missing : PlaceShift::Extra;
    out.shiftDigits = static_cast<int>(answer.size() > correct.size() ? answer.size() - correct.size()
                                                                      : correct.size() - answer.size());
    Align(correct, answer, out);
    return out;
}

std::string PlaceName(int place) {
    if (place < 1 || place >= static_cast<int>(kPlaceNames.size())) return {};
    return kPlaceNames[static_cast<size_t>(place)];
}

std::string VerdictLine(const AnswerComparison& comparison, int correctDigits, int answerDigits) {
    if (comparison.correct) return "正解";
    if (comparison.shift == PlaceShift::None) return "間違えた位：" + JoinPlaces(comparison.wrongPlaces);
    std::string line = "位ずれ：" + std::to_string(comparison.shiftDigits) +
                       (comparison.shift == PlaceShift::Extra ? "桁多い" : "桁足りない");
    const std::string heardAs = PlaceName(answerDigits);
    line += "（" + PlaceName(correctDigits) + "の位を" +
            (heardAs.empty() ? std::to_string(answerDigits) + "桁目" : heardAs + "の位") + "と聞き違え）";
    if (!comparison.misheardPlaces.empty())
        line += "　ほかに間違えた位：" + JoinPlaces(comparison.misheardPlaces);
    return line;
}

std::vector<MarkedChar> GroupMarked(const std::string& digits, const std::vector<bool>& marks) {
    std::vector<MarkedChar> out;
    const size_t n = digits.size();
    for (size_t k = 0; k < n; ++k) {
        if (k > 0 && (n - k) % 3 == 0) out.push_back({',', false});
        out.push_back({digits[k], k < marks.size() && marks[k]});
    }
    return out;
}

}  // namespace drill
