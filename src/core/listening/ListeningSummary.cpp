#include "core/listening/ListeningSummary.h"

#include "core/listening/AnswerComparison.h"

namespace drill {

ListeningSummary SummariseSession(const ListeningSession& session) {
    ListeningSummary s;
    s.counts = "出題 " + std::to_string(session.Tried()) + "　正解 " + std::to_string(session.Correct()) +
               "　もう一度 " + std::to_string(session.Replays()) + "（うち ゆっくり " +
               std::to_string(session.SlowReplays()) + "）";
    for (int row = 0; row < ListeningSummary::kPlaces; ++row) {
        const int place = ListeningSummary::kPlaces - row;
        const TriedWrong tw = session.Place(place);
        s.rows[static_cast<size_t>(row)] = {PlaceName(place), tw.tried, tw.wrong};
        s.placeRates[static_cast<size_t>(row)] = tw.ErrorRate();
    }
    for (int n = 1; n <= ListeningSummary::kPlaces; ++n) {
        s.digitLabels[static_cast<size_t>(n - 1)] = std::to_string(n) + "桁";
        s.digitRates[static_cast<size_t>(n - 1)] = session.DigitCount(n).ErrorRate();
    }
    return s;
}

}  // namespace drill
