#include "core/listening/ListeningSession.h"

#include "core/drill/NumberGenerator.h"

#include <algorithm>

namespace drill {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void ListeningSession::Record(ListeningTrial trial) {
    const int n = static_cast<int>(trial.correct.size());
    for (int p = 1; p <= std::min(n, kPlaceCount); ++p) ++places_[static_cast<size_t>(p)].tried;
    for (int p : trial.comparison.wrongPlaces)
        if (p >= 1 && p <= kPlaceCount) ++places_[static_cast<size_t>(p)].wrong;
    if (n >= 1 && n <= kPlaceCount) {
        ++digitCounts_[static_cast<size_t>(n)].tried;
        if (!trial.comparison.correct) ++digitCounts_[static_cast<size_t>(n)].wrong;
    }
    trials_.push_back(std::move(trial));
}

void ListeningSession::CountReplay(bool slow) {
    ++(slow ? slowReplays_ : replays_);
}

int ListeningSession::Correct() const {
    return static_cast<int>(std::count_if(trials_.begin(), trials_.end(),
                                          [](const ListeningTrial& t) { return t.comparison.correct; }));
}

TriedWrong ListeningSession::Place(int place) const {
    return place >= 1 && place <= kPlaceCount ? places_[static_cast<size_t>(place)] : TriedWrong{};
}

TriedWrong ListeningSession::DigitCount(int digits) const {
    return digits >= 1 && digits <= kPlaceCount ? digitCounts_[static_cast<size_t>(digits)] : TriedWrong{};
}

std::string ListeningSession::Csv() const {
    std::string csv = "\xEF\xBB\xBF";
    csv += "番号,言語,正解,答え,正誤,位ずれ,間違えた位,もう一度,ゆっくり\r\n";
    int number = 0;
    for (const ListeningTrial& t : trials_) {
        const AnswerComparison& c = t.comparison;
        std::string shift;
        if (c.shift != PlaceShift::None)
            shift = std::to_string(c.shiftDigits) + (c.shift == PlaceShift::Extra ? "桁多い" : "桁足りない");
        std::string places;
        for (int p : c.wrongPlaces) places += (places.empty() ? "" : " ") + PlaceName(p);
        const std::string fields[] = {
            std::to_string(++number),
            t.language == ListeningLanguage::English ? "英語" : "日本語",
            GroupedDigits(t.correct),
            GroupedDigits(t.answer),
            c.correct ? "正解" : "不正解",
            shift,
            places,
            std::to_string(t.replays),
            std::to_string(t.slowReplays),
        };
        std::string row;
        for (const std::string& f : fields) row += (row.empty() ? "" : ",") + CsvField(f);
        csv += row + "\r\n";
    }
    return csv;
}

}  // namespace drill
