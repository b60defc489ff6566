#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace autoend {

class IWallClock;
class MainWindowHost;
struct AutoEndState;

// The dialog's behaviour without its widgets: the four boxes' texts, the arrows' steps and the
// handlers. Rows are numbered 1 to 4 (Text11/UpDown1 to Text14/UpDown4).
class AutoEndForm {
public:
    static constexpr int kRows = 4;
    // Count limits stop rising here: RecCount1 is 16 bits wide and could never pass a higher one.
    static constexpr std::int32_t kCountCeiling = 32000;

    AutoEndForm() { Form_Load(); }

    void Form_Load() { ClearTexts(); }
    void ClearTexts();

    // Text11_Click ... Text14_Click: choose the row with its start value.
    void TextClick(int row);
    // UpDownN_UpClick / UpDownN_DownClick.
    void UpClick(int row);
    void DownClick(int row);

    // "実行": arms the first row that holds a value. Returns false when no row did; the caller unloads
    // the dialog in both cases.
    bool Command11_Click(MainWindowHost& host, AutoEndState& state, const IWallClock& clock);
    // "中止": disarms; the caller unloads the dialog.
    void Command12_Click(MainWindowHost& host, AutoEndState& state);

    const std::string& text(int row) const { return texts_.at(index(row)); }
    std::int32_t Increment(int row) const { return increments_.at(index(row)); }

    std::int32_t EditValue = 0;

private:
    static std::size_t index(int row);
    static bool isMinuteRow(int row) { return row <= 2; }
    void write(int row, std::int64_t value);
    std::int32_t value(int row) const;

    void minuteUp(int row);
    void minuteDown(int row);
    void countUp(int row);
    void countDown(int row);

    std::array<std::string, kRows> texts_;
    std::array<std::int32_t, kRows> increments_{5, 5, 10, 10};
};

}  // namespace autoend
