// Builds the main window's controls at their design positions (twips) with their design captions.

#include "core/autoend/Countdown.h"
#include "core/drill/DrillSequencer.h"
#include "core/drill/StartupTexts.h"
#include "qt/drill/ButtonColour.h"
#include "qt/drill/ReadOut1.h"
#include "qt/ui/FitFont.h"
#include "qt/ui/JapaneseFonts.h"
#include "qt/ui/Twips.h"
#include "qt/ui/UpDown.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace drill {

namespace {

constexpr double kClientWidthTw = 11745;
constexpr double kClientHeightTw = 6405;

const QStringList kPlaceCaptions = {
    QString(),
    QStringLiteral("一"),
    QStringLiteral("十"),
    QStringLiteral("百"),
    QStringLiteral("千"),
    QStringLiteral("万"),
    QStringLiteral("十万"),
    QStringLiteral("百万"),
    QStringLiteral("千万"),
    QStringLiteral("一億"),
    QStringLiteral("十億"),
    QStringLiteral("百億"),
    QStringLiteral("千億"),
    QStringLiteral("一兆"),
    QStringLiteral("十兆"),
    QStringLiteral("百兆"),
};

// Tops of the range column, place 15 first.
constexpr std::array<int, 15> kCheck2TopsFrom15 = {420,  795,  1170, 1530, 1905, 2280, 2655, 3030,
                                                   3390, 3765, 4155, 4515, 4890, 5265, 5640};

QFont gothic(double points) {
    QFont f = ui::gothicFont(points);
    f.setWeight(QFont::Normal);
    return f;
}

template <typename W>
W* place(W* w, double left, double top, double width, double height, double points = 0) {
    ui::setGeometryTwips(w, left, top, width, height);
    if (points > 0) w->setFont(gothic(points));
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(QString::fromLatin1(name));
    return b;
}

}  // namespace

void ReadOut1::buildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(ui::twipsToPixels(kClientWidthTw, ui::screenLogicalDpi()),
                         ui::twipsToPixels(kClientHeightTw, ui::screenLogicalDpi()));
    setCentralWidget(client);

    Command4 =
        place(button(client, "Command4", QStringLiteral("数字読上げ　英⇒日")), 270, 315, 2490, 525, 11.25);
    Command5 =
        place(button(client, "Command5", QStringLiteral("数字読上げ　日⇒英")), 3000, 315, 2490, 525, 11.25);
    Command6 =
        place(button(client, "Command6", QStringLiteral("シャットダウン指定")), 5730, 330, 2490, 525, 11.25);
    Command7 = place(button(client, "Command7", QStringLiteral("英語だけ")), 285, 990, 2490, 525, 12);
    Command8 = place(button(client, "Command8", QStringLiteral("日本語だけ")), 2970, 990, 2490, 525, 12);
    ResetStartButtonColors();

    auto* group = new QButtonGroup(this);
    Option1[0] =
        place(new QRadioButton(QStringLiteral("吹き出しを表示しない"), client), 5595, 975, 2880, 300, 11.25);
    Option1[1] =
        place(new QRadioButton(QStringLiteral("吹き出しを表示する"), client), 5595, 1260, 2880, 300, 11.25);
    for (int i = 0; i < 2; ++i) {
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        group->addButton(Option1[i], i);
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }

    Command1 = place(button(client, "Command1", QStringLiteral("Command1")), 270, 1725, 7920, 810, 36);
    setButtonBackColour(Command1, palette().color(QPalette::Light));

    Label3 = place(new QLabel(QStringLiteral("年月日、曜日"), client), 6255, 3195, 1605, 345, 11.25);
    Text4 = place(new QLineEdit(QStringLiteral("Text4"), client), 5040, 3150, 1110, 390, 15.75);
    Text1 = place(new QLineEdit(QStringLiteral("Text1"), client), 795, 5295, 735, 690, 11.25);
    for (QWidget* unused :
         {static_cast<QWidget*>(Label3), static_cast<QWidget*>(Text4), static_cast<QWidget*>(Text1)})
        unused->hide();

    Label4 =
        place(new QLabel(QString::fromStdString(explanationDesignText()), client), 420, 3795, 7860, 1050, 12);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The frame lies over part of the label; it is created after it so it stacks above.
    Frame1 = place(new QFrame(client), 2355, 3285, 4380, 1320);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setAutoFillBackground(true);
    Command9 = place(button(Frame1, "Command9", QStringLiteral("Command9")), 105, 330, 4140, 465, 11.25);
    Command10 = place(button(Frame1, "Command10", QStringLiteral("中止")), 105, 810, 4140, 465, 12);

    UpDown1 = place(new ui::UpDown(client), 2010, 5295, 255, 465);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setIncrement(200);
    Command3 = place(button(client, "Command3", QStringLiteral("日 - 英 の間隔を長くする／縮める")), 2265,
                     5295, 4695, 465, 12);

    Text2 = place(new QLineEdit(QStringLiteral("Text2"), client), 7140, 5325, 750, 690, 11.25);
    Text2->setObjectName(QStringLiteral("Text2"));
    Command2 = place(button(client, "Command2", QStringLiteral("Command2")), 360, 5790, 7920, 315, 14.25);
    setButtonBackColour(Command2, palette().color(QPalette::HighlightedText));

    Label1 = place(new QLabel(QStringLiteral("範囲指定"), client), 8895, 45, 1050, 285, 11.25);
    Label2 = place(new QLabel(QStringLiteral("桁指定"), client), 10230, 60, 840, 255, 11.25);

    for (int p = 1; p <= 15; ++p) {
        const int top1 = p == 1 ? 5640 : 450 + (15 - p) * 370;
        Check1[p] = place(new QCheckBox(kPlaceCaptions[p], client), 10290, top1, 1335, 300, 11.25);
        Check1[p]->setObjectName(QStringLiteral("Check1_%1").arg(p));
        Check2[p] =
            place(new QCheckBox(kPlaceCaptions[p], client), 8955, kCheck2TopsFrom15[15 - p], 975, 300, 11.25);
        Check2[p]->setObjectName(QStringLiteral("Check2_%1").arg(p));
    }

    Timer1.setInterval(2000);
    fitFonts();
}

// Texts the controls show at run time, besides their design captions.
QStringList ReadOut1::runTimeTexts(const QWidget* control) const {
    QStringList texts;
    if (control == Command1) texts << QStringLiteral("999,999,999,999,999");
    if (control == Command3) {
        for (int gap = -2000; gap <= 10000; gap += 200)
            texts << QString::fromStdString(ReadingGapCaption(static_cast<int16_t>(gap)));
    }
    if (control == Command9) {
        for (const bool shutdown : {false, true}) {
            for (const std::string& t :
                 {autoend::minuteCaption(32000, 0, shutdown), autoend::minuteCaption(1, 61, shutdown),
                  autoend::countCaption(32000, -32768, shutdown)})
                texts << QString::fromStdString(t);
        }
    }
    if (control == Label4) texts << QString::fromStdString(explanationText());
    return texts;
}

// The stand-in face is wider than the original: a control whose texts would be cut gets a smaller font.
void ReadOut1::fitFonts() {
    const QList<QWidget*> controls = centralWidget()->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        QString caption;
        if (const auto* b = qobject_cast<QAbstractButton*>(control))
            caption = b->text();
        else if (const auto* l = qobject_cast<QLabel*>(control))
            caption = l->text();
        else if (const auto* e = qobject_cast<QLineEdit*>(control))
            caption = e->text();
        else
            continue;
        ui::shrinkFontToFit(control, QStringList{caption} + runTimeTexts(control));
    }
}

void ReadOut1::buildMenu() {
    QMenuBar* bar = menuBar();
    // Menus use the proportional face, as system menus do; its narrow spaces keep the Version item on the
    // bar.
    bar->setFont(ui::pGothicFont(9));
    Copyright = bar->addAction(QString::fromStdString(copyrightMenuCaption()));
    Version = bar->addAction(QString::fromStdString(versionMenuDesignCaption()));
    connect(Copyright, &QAction::triggered, this, &ReadOut1::Copyright_Click);
}

}  // namespace drill
