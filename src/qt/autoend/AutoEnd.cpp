#include "qt/autoend/AutoEnd.h"

#include "core/autoend/AutoEndState.h"
#include "core/trace/Trace.h"
#include "qt/ui/FitFont.h"
#include "qt/ui/JapaneseFonts.h"
#include "qt/ui/Twips.h"
#include "qt/ui/UpDown.h"
#include "qt/ui/WidgetTrace.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace autoend {
namespace {

constexpr std::array<int, 4> kRowTops{75, 735, 1320, 1935};
const std::array<QString, 4> kLabels{
    QStringLiteral("分後にシャットダウンする。"), QStringLiteral("分後にTallyvox-Numberを終了する。"),
    QStringLiteral("個でシャットダウンする。"), QStringLiteral("個でTallyvox-Numberを終了する。")};

QFont dialogFont() {
    return ui::pGothicFont(14.25);
}

}  // namespace

AutoEnd::AutoEnd(MainWindowHost& host, AutoEndState& state, const IWallClock& clock, QWidget* owner)
    : QDialog(owner), host_(host), state_(state), clock_(clock) {
    setWindowTitle(QStringLiteral("End Set"));
    setModal(true);
    buildControls();
    Form_Load();
}

void AutoEnd::buildControls() {
    const double dpi = ui::screenLogicalDpi();
    setFixedSize(ui::twipsToPixels(5475, dpi), ui::twipsToPixels(3135, dpi));
    const QFont font = dialogFont();

    Command11 = new QPushButton(QStringLiteral("実行"), this);
    Command12 = new QPushButton(QStringLiteral("中止"), this);
    Command11->setObjectName(QStringLiteral("Command11"));
    Command12->setObjectName(QStringLiteral("Command12"));
    for (QPushButton* b : {Command11, Command12}) {
        b->setFont(font);
        b->setAutoDefault(false);
    }
    ui::setGeometryTwips(Command11, 870, 2565, 1695, 420);
    ui::setGeometryTwips(Command12, 2685, 2565, 1695, 420);
    connect(Command11, &QPushButton::clicked, this, &AutoEnd::Command11_Click);
    connect(Command12, &QPushButton::clicked, this, &AutoEnd::Command12_Click);

    for (int i = 0; i < 4; ++i) {
        const int row = i + 1;
        const int top = kRowTops.at(i);
        auto* arrows = new ui::UpDown(this);
        arrows->setObjectName(QStringLiteral("UpDown%1").arg(row));
        arrows->setFocusPolicy(Qt::TabFocus);
        arrows->installEventFilter(this);
        ui::setGeometryTwips(arrows, 150, top, 255, 420);
        connect(arrows, &ui::UpDown::upClick, this, [this, row] { UpClick(row); });
        connect(arrows, &ui::UpDown::downClick, this, [this, row] { DownClick(row); });
        UpDown.at(i) = arrows;

        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1%1").arg(row));
        box->setFont(font);
        // Refuses typing, deleting, pasting and dropping; the click that chooses the row still arrives.
        box->setReadOnly(true);
        box->setAcceptDrops(false);
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->installEventFilter(this);
        ui::setGeometryTwips(box, 405, top, 705, 420);
        Text.at(i) = box;

        auto* label = new QLabel(kLabels.at(i), this);
        label->setObjectName(QStringLiteral("Label%1").arg(row));
        label->setFont(font);
        ui::setGeometryTwips(label, 1170, top + 30, 4125, 390);
        Label.at(i) = label;
    }

    for (QLabel* label : Label) ui::shrinkFontToFit(label, {label->text()});
    for (QPushButton* b : {Command11, Command12}) ui::shrinkFontToFit(b, {b->text()});

    QWidget* order[] = {Command11, Command12, UpDown[0], UpDown[1], UpDown[2],
                        UpDown[3], Text[0],   Text[1],   Text[2],   Text[3]};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void AutoEnd::moveTwips(double left, double top) {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    const double dpi = ui::screenLogicalDpi();
    // An explicit move before showing keeps Qt from centring the dialog on its owner.
    move(origin + QPoint(ui::twipsToPixels(left, dpi), ui::twipsToPixels(top, dpi)));
}

void AutoEnd::Form_Load() {
    form_.Form_Load();
    refresh();
}

void AutoEnd::ClearTexts() {
    form_.ClearTexts();
    refresh();
}

void AutoEnd::TextClick(int row) {
    form_.TextClick(row);
    refresh();
}

void AutoEnd::UpClick(int row) {
    form_.UpClick(row);
    refresh();
}

void AutoEnd::DownClick(int row) {
    form_.DownClick(row);
    refresh();
}

void AutoEnd::Command11_Click() {
    if (form_.Command11_Click(host_, state_, clock_))
        trace::write("autoend", "armed " + state_.AutoEndMode + " " + std::to_string(state_.AutoEndLimit));
    refresh();
    done(QDialog::Accepted);
}

void AutoEnd::Command12_Click() {
    form_.Command12_Click(host_, state_);
    refresh();
    done(QDialog::Rejected);
}

void AutoEnd::refresh() {
    for (int i = 0; i < 4; ++i) {
        const QString t = QString::fromStdString(form_.text(i + 1));
        if (Text.at(i)->text() != t) {
            // Values up to the count rows' 32000 show whole: a value too wide for the design size
            // gets a smaller font, the others keep it.
            Text.at(i)->setFont(dialogFont());
            ui::shrinkFontToFit(Text.at(i), {t});
            Text.at(i)->setText(t);
            trace::write("autoend", (Text.at(i)->objectName() + QStringLiteral(" text ") + t).toStdString());
        }
        UpDown.at(i)->setIncrement(form_.Increment(i + 1));
    }
}

int AutoEnd::rowOfBox(const QObject* o) const {
    for (int i = 0; i < 4; ++i) {
        if (Text.at(i) == o) return i + 1;
    }
    return 0;
}

int AutoEnd::rowOfArrows(const QObject* o) const {
    for (int i = 0; i < 4; ++i) {
        if (UpDown.at(i) == o) return i + 1;
    }
    return 0;
}

bool AutoEnd::eventFilter(QObject* watched, QEvent* event) {
    if (const int row = rowOfBox(watched)) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->text().isEmpty()) {
                int KeyAscii = key->text().at(0).unicode();
                TextKeyPress(KeyAscii);
                if (KeyAscii == 0) return true;
            }
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            // A click is a release of the left button over the box.
            if (mouse->button() == Qt::LeftButton &&
                Text.at(row - 1)->rect().contains(mouse->position().toPoint()))
                TextClick(row);
        }
    } else if (const int arrows = rowOfArrows(watched); arrows && event->type() == QEvent::KeyPress) {
        // A focused arrow pair answers the arrow keys, as a spin control does.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            ui::UpDown* u = UpDown.at(arrows - 1);
            (key == Qt::Key_Up ? u->upButton() : u->downButton())->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AutoEnd::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!trace::enabled()) return;
    // Positions are final once the window is mapped.
    QTimer::singleShot(0, this, [this] {
        trace::write("autoend", "dialog shown");
        ui::traceGeometry("autoend", QStringLiteral("AutoEnd"), this);
        for (int i = 0; i < 4; ++i) {
            ui::traceGeometry("autoend", Text.at(i)->objectName(), Text.at(i));
            ui::traceGeometry("autoend", UpDown.at(i)->objectName(), UpDown.at(i));
        }
        ui::traceGeometry("autoend", QStringLiteral("Command11"), Command11);
        ui::traceGeometry("autoend", QStringLiteral("Command12"), Command12);
    });
}

void QtEndSetDialogs::runEndSet(MainWindowHost& host, AutoEndState& state, const IWallClock& clock,
                                double leftTw, double topTw) {
    QPointer<AutoEnd> dialog = new AutoEnd(host, state, clock, owner_);
    dialog->moveTwips(leftTw, topTw);
    dialog->exec();
    trace::write("autoend", "dialog closed");
    // The dialog is unloaded after every use, so the next opening starts afresh.
    delete dialog.data();
}

}  // namespace autoend
