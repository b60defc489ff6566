#include "qt/drill/ReadOut1.h"

#include "core/autoend/AutoEndController.h"
#include "core/drill/StartupTexts.h"
#include "core/drill/WindowPlacement.h"
#include "core/trace/Trace.h"
#include "platform/EditionLookup.h"
#include "platform/ProgramDirectory.h"
#include "platform/Registry.h"
#include "qt/autoend/AutoEnd.h"
#include "qt/ui/FrameExtents.h"
#include "qt/ui/Twips.h"
#include "qt/ui/WholeLines.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

namespace drill {

ReadOut1::ReadOut1(ReadOut1Deps deps, QWidget* parent)
    : QMainWindow(parent),
      agent_(std::move(deps.agent)),
      registry_(std::move(deps.registry)),
      characterDir_(std::move(deps.characterDir)) {
    setWindowTitle(QStringLiteral("タリボックス-数字（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）"));
    buildMenu();
    addListeningTestMenu();
    addEnglishVoiceMenu();
    buildControls();
    logic_ = std::make_unique<ReadOut1Logic>(
        ReadOut1Controls{*this, *this, *this, agent_->Characters(), Timer1, Timer3, Timer4},
        std::move(deps.random));
    endSet_ = std::make_unique<autoend::QtEndSetDialogs>(this);
    autoEnd_ = std::make_unique<autoend::AutoEndController>(*this, *endSet_, std::move(deps.power));
    wireControls();
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // The window manager answers while the character loads; Form_Load centres by that answer. The
    // frame of a fixed-size window differs (openbox draws no resize handle): fix the size first.
    layout()->activate();
    ui::requestFrameExtents(this);
}

ReadOut1::~ReadOut1() = default;

QString ReadOut1::characterPath() const {
    QString dir =
        characterDir_.isEmpty() ? QString::fromLocal8Bit(platform::programDirectory()) : characterDir_;
    // A root folder already ends in a separator; don't double it.
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return QDir::toNativeSeparators(dir + QStringLiteral("PEEDY.acs"));
}

void ReadOut1::Form_Load() {
    State().BalloonOn = false;
    Label4->setText(QString::fromStdString(explanationText()));
    Option1[0]->setChecked(true);
    Option1_Click(0);
    Command2->hide();
    RecCount1() = 0;
    Frame1->hide();
    Text2->hide();
    State().EnJaFirstDue = false;
    State().JaEnFirstDue = false;
    Timer1.setEnabled(false);
    Timer3.setEnabled(false);

    agent::ICharacters& characters = Agent1().Characters();
    characters.Load("peedy", characterPath().toStdString());
    SpeechChar = &characters.Item("peedy");
    logic_->SetSpeechChar(*SpeechChar);
    SpeechChar->Show();
    SpeechChar->Balloon().setFontSize(30);

    Command1->setText(QString());
    Command2->setText(QString());
    centreOnScreen();
    placeCharacter();
    Version->setText(Version->text() + QString::fromStdString(versionSuffix(
                                           TVX_VERSION_MAJOR, TVX_VERSION_MINOR, TVX_VERSION_PATCH)));

    std::shared_ptr<platform::Registry> registry = registry_ ? registry_ : platform::createSystemRegistry();
    State().WinEdition = platform::editionTag(platform::productName(*registry));
}

void ReadOut1::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenPx = screen ? screen->size() : QSize(1024, 768);
    const double dpi = ui::screenLogicalDpi();
    const double tpp = ui::twipsPerPixel(dpi);
    adjustSize();
    // Centred by the outer size: the window manager's frame is asked for before the window maps.
    const QMargins frame = ui::frameExtentsBeforeMapping(this);
    const QSize outer = size().grownBy(frame);
    const TwipsPoint p = centredPosition(screenPx.width(), screenPx.height(), tpp, tpp, outer.width() * tpp,
                                         outer.height() * tpp);
    outerRect_ = QRect(QPoint(ui::twipsToPixels(p.left, dpi), ui::twipsToPixels(p.top, dpi)), outer);
    // Placed by its inner rectangle: Qt asks the window manager to keep the client where it is put.
    setGeometry(outerRect_.marginsRemoved(frame));
}

void ReadOut1::placeCharacter() {
    const double dpi = ui::screenLogicalDpi();
    const PixelPoint at =
        characterPlacement(ui::pixelsToTwips(outerRect_.x(), dpi), ui::pixelsToTwips(outerRect_.y(), dpi),
                           ui::pixelsToTwips(outerRect_.height(), dpi));
    SpeechChar->MoveTo(at.x, at.y, 0);
}

void ReadOut1::Option1_Click(int index) {
    State().BalloonOn = index != 0;
}

void ReadOut1::Copyright_Click() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tallyvox-Number"),
                    QString::fromStdString(aboutText()), QMessageBox::Ok, this);
    ui::keepLinesWhole(box);
    box.exec();
}

void ReadOut1::closeEvent(QCloseEvent* event) {
    // Unloading the window ends the program: nothing is saved, timers and the character go with it.
    // The logic may be mid-handler here (the auto-end quits from its tick), so it is torn down later,
    // with the window, once the event loop has ended.
    event->accept();
    logic_->Sequencer().Stop();
    ejTimer2.setEnabled(false);
    QCoreApplication::quit();
}

}  // namespace drill
