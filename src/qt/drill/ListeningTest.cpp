#include "qt/drill/ListeningTest.h"

#include "core/listening/WindowBeside.h"
#include "core/trace/Trace.h"
#include "qt/drill/ListeningSummaryView.h"
#include "qt/ui/FrameExtents.h"
#include "qt/ui/JapaneseFonts.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace drill {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QFont numberFont() {
    return ui::gothicFont(20);
}

}  // namespace

QString MarkedDigitsHtml(const std::vector<MarkedChar>& marked) {
    QString html;
    for (const MarkedChar& mc : marked) {
        const QString c = QString(QChar::fromLatin1(mc.c)).toHtmlEscaped();
        html +=
            mc.wrong
                ? QStringLiteral("<span style=\"color:#d00000; text-decoration:underline;\">%1</span>").arg(c)
                : c;
    }
    return html;
}

QString MarkedDigitsHtml(const std::string& digits, const std::vector<bool>& marks) {
    return MarkedDigitsHtml(GroupMarked(digits, marks));
}

ListeningTest::ListeningTest(ListeningTestDeps deps, QWidget* owner)
    : QWidget(owner, Qt::Window),
      askSavePath_(std::move(deps.askSavePath)),
      keepVisible_(std::move(deps.keepVisible)),
      speechChar_(deps.speechChar) {
    setObjectName(QStringLiteral("ListeningTest"));
    setWindowTitle(QStringLiteral("聞き取りテスト"));
    // The session is kept only while the window is open.
    setAttribute(Qt::WA_DeleteOnClose);
    build(deps.rateCharts ? deps.rateCharts : rateChartModule());
    ListeningControllerDeps core;
    core.mainState = deps.mainState;
    core.characters = deps.characters;
    core.speechChar = deps.speechChar;
    core.random = std::move(deps.random);
    core.beforeReading = std::move(deps.beforeReading);
    core.trace = [](const std::string& line) { trace::write("listening", line); };
    controller_ = std::make_unique<ListeningController>(std::move(core), *this);
    controller_->Open();
    trace::write("listening", "open");
}

ListeningTest::~ListeningTest() = default;

void ListeningTest::build(RateChartFactory rateCharts) {
    auto* languages = new QButtonGroup(this);
    EnglishOption = new QRadioButton(QStringLiteral("英語"), this);
    JapaneseOption = new QRadioButton(QStringLiteral("日本語"), this);
    languages->addButton(EnglishOption);
    languages->addButton(JapaneseOption);
    EnglishOption->setChecked(true);
    StartButton = new QPushButton(QStringLiteral("スタート"), this);
    ReplayButton = new QPushButton(QStringLiteral("もう一度"), this);
    SlowButton = new QPushButton(QStringLiteral("ゆっくり"), this);
    for (QRadioButton* r : {EnglishOption, JapaneseOption}) r->setFocusPolicy(Qt::ClickFocus);
    for (QPushButton* b : {StartButton, ReplayButton, SlowButton}) b->setAutoDefault(false);

    AnswerBox = new QLineEdit(this);
    AnswerBox->setObjectName(QStringLiteral("AnswerBox"));
    AnswerBox->setFont(numberFont());
    AnswerBox->setPlaceholderText(QStringLiteral("聞こえた数字"));
    Hint = new QLabel(this);
    Hint->setTextFormat(Qt::PlainText);
    Hint->setStyleSheet(QStringLiteral("color:#c00000;"));
    Status = new QLabel(this);
    Status->setTextFormat(Qt::PlainText);

    CorrectLine = new QLabel(this);
    AnswerLine = new QLabel(this);
    for (QLabel* l : {CorrectLine, AnswerLine}) {
        l->setTextFormat(Qt::RichText);
        l->setFont(numberFont());
    }
    Verdict = new QLabel(this);
    Verdict->setTextFormat(Qt::PlainText);
    Verdict->setWordWrap(true);
    SaveButton = new QPushButton(QStringLiteral("結果を保存…"), this);
    SaveButton->setAutoDefault(false);
    Summary = new ListeningSummaryView(rateCharts, this);
    trace::write("listening",
                 std::string("charts ") + Summary->PlaceChart->widget()->metaObject()->className());

    auto* top = new QHBoxLayout;
    top->addWidget(EnglishOption);
    top->addWidget(JapaneseOption);
    top->addSpacing(12);
    top->addWidget(StartButton);
    top->addWidget(ReplayButton);
    top->addWidget(SlowButton);
    top->addStretch();

    auto* result = new QGridLayout;
    result->addWidget(new QLabel(QStringLiteral("答え"), this), 0, 0);
    result->addWidget(AnswerBox, 0, 1);
    result->addWidget(Hint, 1, 1);
    result->addWidget(new QLabel(QStringLiteral("正解"), this), 2, 0);
    result->addWidget(CorrectLine, 2, 1);
    result->addWidget(new QLabel(QStringLiteral("あなた"), this), 3, 0);
    result->addWidget(AnswerLine, 3, 1);
    result->addWidget(Verdict, 4, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Status, 1);
    bottom->addWidget(SaveButton);

    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addLayout(result);
    column->addWidget(Summary, 1);
    column->addLayout(bottom);

    connect(StartButton, &QPushButton::clicked, this, &ListeningTest::Start);
    connect(ReplayButton, &QPushButton::clicked, this, [this] { Replay(ReadingPace::Normal); });
    connect(SlowButton, &QPushButton::clicked, this, [this] { Replay(ReadingPace::Slow); });
    connect(AnswerBox, &QLineEdit::textEdited, this, [this] { controller_->AnswerEdited(); });
    connect(SaveButton, &QPushButton::clicked, this, &ListeningTest::Save);
    setFocusProxy(AnswerBox);
}

void ListeningTest::placeBesideOwner() {
    QWidget* owner = parentWidget();
    if (!owner) return;
    adjustSize();
    const QScreen* screen = owner->screen();
    const auto rect = [](const QRect& r) { return ScreenRect{r.x(), r.y(), r.width(), r.height()}; };
    BesideOwnerScene scene;
    scene.screen = rect(screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
    scene.owner = rect(owner->frameGeometry());
    if (keepVisible_) scene.keepVisible = rect(keepVisible_());
    if (speechChar_) {
        if (const auto b = speechChar_->Bounds())
            scene.character = ScreenRect{b->x, b->y, b->width, b->height};
    }
    const auto frameOf = [](const QWidget* w) {
        const QRect f = w->frameGeometry(), g = w->geometry();
        return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                        f.bottom() - g.bottom());
    };
    // Before mapping, the window manager tells our frame (openbox frames a resizable window taller
    // than the fixed-size owner); without an answer we guess it is framed as the owner is.
    QMargins frame = isVisible() ? frameOf(this) : ui::frameExtentsBeforeMapping(this);
    if (frame.isNull()) frame = frameOf(owner);
    const QSize frameExtra(frame.left() + frame.right(), frame.top() + frame.bottom());
    const BesidePlacement at =
        BesideOwner(scene, width() + frameExtra.width(), height() + frameExtra.height());
    // Placed by the inner rectangle, as the owner is: the window manager keeps the client where it is put.
    const QRect outer(at.window.x, at.window.y, at.window.width, at.window.height);
    setGeometry(
        QRect(outer.marginsRemoved(frame).topLeft(), outer.marginsRemoved(frame).size().boundedTo(size())));
    if (at.character) {
        if (!characterHome_) characterHome_ = QPoint(scene.character->x, scene.character->y);
        speechChar_->MoveTo(at.character->x, at.character->y, 0);
        trace::write(
            "listening",
            QStringLiteral("character %1 %2").arg(at.character->x).arg(at.character->y).toStdString());
    }
}

void ListeningTest::closeEvent(QCloseEvent* event) {
    if (characterHome_ && speechChar_) speechChar_->MoveTo(characterHome_->x(), characterHome_->y(), 0);
    characterHome_.reset();
    QWidget::closeEvent(event);
}

void ListeningTest::keyPressEvent(QKeyEvent* event) {
    // The answer box passes Enter and Esc on to us, and so do the buttons (none is a default button):
    // Enter checks or goes on wherever the focus is, and the focus comes back to the answer.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        Enter();
        AnswerBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ListeningTest::Start() {
    controller_->Start();
}

void ListeningTest::Replay(ReadingPace pace) {
    controller_->Replay(pace);
}

void ListeningTest::Enter() {
    controller_->Enter();
}

void ListeningTest::Save() {
    controller_->Save();
}

ListeningLanguage ListeningTest::ChosenLanguage() const {
    return JapaneseOption->isChecked() ? ListeningLanguage::Japanese : ListeningLanguage::English;
}

std::string ListeningTest::AnswerText() const {
    return AnswerBox->text().toStdString();
}

void ListeningTest::ClearAnswer() {
    AnswerBox->clear();
}

void ListeningTest::SetHint(const std::string& text) {
    Hint->setText(qs(text));
}

void ListeningTest::SetStatus(const std::string& text) {
    Status->setText(qs(text));
}

void ListeningTest::ShowResult(const ListeningResult& result) {
    CorrectLine->setText(MarkedDigitsHtml(result.correct));
    AnswerLine->setText(MarkedDigitsHtml(result.answer));
    Verdict->setText(qs(result.verdict));
    Verdict->setStyleSheet(result.right ? QStringLiteral("color:#007000;")
                                        : QStringLiteral("color:#c00000;"));
}

void ListeningTest::ClearResult() {
    CorrectLine->clear();
    AnswerLine->clear();
    Verdict->clear();
}

void ListeningTest::SetReplayEnabled(bool enabled) {
    ReplayButton->setEnabled(enabled);
    SlowButton->setEnabled(enabled);
}

void ListeningTest::ShowSummary(const ListeningSummary& summary) {
    Summary->Show(summary);
}

void ListeningTest::FocusAnswer() {
    AnswerBox->setFocus(Qt::OtherFocusReason);
}

std::filesystem::path ListeningTest::AskSavePath() {
    const QString path = askSavePath_ ? askSavePath_(this)
                                      : QFileDialog::getSaveFileName(this, QStringLiteral("結果を保存"),
                                                                     QStringLiteral("聞き取りテスト.csv"),
                                                                     QStringLiteral("CSV (*.csv)"));
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace drill
