#pragma once

#include "core/autoend/AutoEndController.h"
#include "core/autoend/AutoEndForm.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {
class UpDown;
}

namespace autoend {

// The "End Set" dialog: four rows (minutes to shutdown, minutes to quit, numbers to shutdown, numbers
// to quit), each an arrow pair, a box that shows the value and a label. The learner chooses a row by
// clicking its box and steps it with the arrows; nothing is typed. The behaviour is AutoEndForm's.
class AutoEnd : public QDialog {
    Q_OBJECT
public:
    AutoEnd(MainWindowHost& host, AutoEndState& state, const IWallClock& clock, QWidget* owner);

    // Places the dialog's frame at (left, top) twips from the top-left of the owner's screen.
    void moveTwips(double left, double top);

    void Form_Load();
    void Text11_Click() { TextClick(1); }
    void Text12_Click() { TextClick(2); }
    void Text13_Click() { TextClick(3); }
    void Text14_Click() { TextClick(4); }
    // The key filter of all four boxes: every typed character is discarded.
    static void TextKeyPress(int& KeyAscii) { KeyAscii = 0; }
    void UpDown1_UpClick() { UpClick(1); }
    void UpDown1_DownClick() { DownClick(1); }
    void UpDown2_UpClick() { UpClick(2); }
    void UpDown2_DownClick() { DownClick(2); }
    void UpDown3_UpClick() { UpClick(3); }
    void UpDown3_DownClick() { DownClick(3); }
    void UpDown4_UpClick() { UpClick(4); }
    void UpDown4_DownClick() { DownClick(4); }
    void Command11_Click();
    void Command12_Click();

    const AutoEndForm& form() const { return form_; }

    std::array<ui::UpDown*, 4> UpDown{};  // UpDown1 .. UpDown4
    std::array<QLineEdit*, 4> Text{};     // Text11 .. Text14
    std::array<QLabel*, 4> Label{};       // Label1 .. Label4
    QPushButton* Command11 = nullptr;
    QPushButton* Command12 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void TextClick(int row);
    void UpClick(int row);
    void DownClick(int row);
    void ClearTexts();
    // Shows the form's texts and steps on the widgets.
    void refresh();
    int rowOfBox(const QObject* o) const;
    int rowOfArrows(const QObject* o) const;

    MainWindowHost& host_;
    AutoEndState& state_;
    const IWallClock& clock_;
    AutoEndForm form_;
};

// Opens a fresh AutoEnd over the main window for each Command6 click.
class QtEndSetDialogs final : public EndSetDialogs {
public:
    explicit QtEndSetDialogs(QWidget* owner) : owner_(owner) {}
    void runEndSet(MainWindowHost& host, AutoEndState& state, const IWallClock& clock, double leftTw,
                   double topTw) override;

private:
    QWidget* owner_;
};

}  // namespace autoend
