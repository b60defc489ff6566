#include "qt/drill/ListeningTest.h"

#include "core/drill/NumberGenerator.h"
#include "core/listening/AnswerInput.h"
#include "core/listening/WindowBeside.h"
#include "core/trace/Trace.h"
#include "qt/drill/ListeningSummaryView.h"
#include "qt/ui/JapaneseFonts.h"

#include <QButtonGroup>
#include <QFile>
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
    return platform::ui::gothicFont(20);
}

const char* languageTag(ListeningLanguage language) {
    return language == ListeningLanguage::English ? "en" : "ja";
}

}  // namespace

QString MarkedDigitsHtml(const std::string& digits, const std::vector<bool>& marks) {
    QString html;
    for (const MarkedChar& mc : GroupMarked(digits, marks)) {
        const QString c = QString(QChar::fromLatin1(mc.c)).toHtmlEscaped();
        html +=
            mc.wrong
                ? QStringLiteral("<span style=\"color:#d00000; text-decoration:underline;\">%1</span>").arg(c)
                : c;
    }
    return html;
}

ListeningTest::ListeningTest(ListeningTestDeps deps, QWidget* owner)
    : QWidget(owner, Qt::Window), deps_(std::move(deps)), random_(std::move(deps_.random)) {
    if (!random_) random_ = std::make_unique<Xoshiro256Source>(SystemClockReading());
    setObjectName(QStringLiteral("ListeningTest"));
    setWindowTitle(QStringLiteral("聞き取りテスト"));
    // The session is kept only while the window is open.
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    showStatus();
    Summary->Show(session_);
    trace::write("listening", "open");
}

ListeningTest::~ListeningTest() = default;

void ListeningTest::build() {
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
    Summary = new ListeningSummaryView(this);

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
    connect(AnswerBox, &QLineEdit::textEdited, Hint, &QLabel::clear);
    connect(SaveButton, &QPushButton::clicked, this, &ListeningTest::Save);
    setFocusProxy(AnswerBox);
    ReplayButton->setEnabled(false);
    SlowButton->setEnabled(false);
}

void ListeningTest::placeBesideOwner() {
    QWidget* owner = parentWidget();
    if (!owner) return;
    adjustSize();
    const QScreen* screen = owner->screen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect of = owner->frameGeometry();
    // Before mapping our own frame is unknown; the window manager decorates us as it does the owner.
    const QSize frameExtra = isVisible() ? frameGeometry().size() - size() : of.size() - owner->size();
    const ScreenRect at =
        BesideOwner({of.x(), of.y(), of.width(), of.height()}, width() + frameExtra.width(),
                    height() + frameExtra.height(), {avail.x(), avail.y(), avail.width(), avail.height()});
    move(at.x, at.y);
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

ListeningLanguage ListeningTest::chosenLanguage() const {
    return JapaneseOption->isChecked() ? ListeningLanguage::Japanese : ListeningLanguage::English;
}

void ListeningTest::Start() {
    current_ = DrawListeningNumber(*deps_.mainState, *random_);
    currentLanguage_ = chosenLanguage();
    answered_ = false;
    replays_ = 0;
    slowReplays_ = 0;
    AnswerBox->clear();
    Hint->clear();
    clearResult();
    trace::write("listening", (QStringLiteral("number ") + qs(current_->display)).toStdString());
    read(ReadingPace::Normal);
    ReplayButton->setEnabled(true);
    SlowButton->setEnabled(true);
    showStatus();
}

void ListeningTest::Replay(ReadingPace pace) {
    if (!current_) return;
    session_.CountReplay(pace == ReadingPace::Slow);
    if (!answered_) ++(pace == ReadingPace::Slow ? slowReplays_ : replays_);
    read(pace);
    showStatus();
    Summary->Show(session_);
}

void ListeningTest::read(ReadingPace pace) {
    trace::write("listening",
                 (QStringLiteral("read %1 %2")
                      .arg(QLatin1String(languageTag(currentLanguage_)),
                           pace == ReadingPace::Slow ? QStringLiteral("slow") : QStringLiteral("normal")))
                     .toStdString());
    if (deps_.beforeReading) deps_.beforeReading();
    try {
        ReadListeningNumber(*deps_.characters, *deps_.speechChar, *current_, currentLanguage_, pace);
    } catch (const agent::AgentError& e) {
        // A missing voice must not end the drill from inside a click; say so where the learner looks.
        Hint->setText(QStringLiteral("読み上げできませんでした：%1").arg(QString::fromUtf8(e.what())));
        trace::write("listening", "read-failed");
    }
    AnswerBox->setFocus(Qt::OtherFocusReason);
}

void ListeningTest::Enter() {
    if (!current_ || answered_) {
        Start();
        return;
    }
    check();
}

void ListeningTest::check() {
    const NormalisedAnswer typed = NormaliseAnswer(AnswerBox->text().toStdString());
    if (typed.problem != AnswerProblem::None) {
        Hint->setText(qs(AnswerHint(typed.problem)));
        trace::write("listening", (QStringLiteral("hint ") + Hint->text()).toStdString());
        return;
    }
    ListeningTrial trial;
    trial.language = currentLanguage_;
    trial.correct = current_->Digits();
    trial.answer = typed.digits;
    trial.comparison = CompareAnswer(trial.correct, trial.answer);
    trial.replays = replays_;
    trial.slowReplays = slowReplays_;
    const AnswerComparison& c = trial.comparison;
    CorrectLine->setText(MarkedDigitsHtml(trial.correct, c.correctMarks));
    AnswerLine->setText(MarkedDigitsHtml(trial.answer, c.answerMarks));
    const std::string verdict =
        VerdictLine(c, static_cast<int>(trial.correct.size()), static_cast<int>(trial.answer.size()));
    Verdict->setText(qs(verdict));
    Verdict->setStyleSheet(c.correct ? QStringLiteral("color:#007000;") : QStringLiteral("color:#c00000;"));
    trace::write("listening",
                 (QStringLiteral("result %1 %2 %3 %4")
                      .arg(c.correct ? QStringLiteral("right") : QStringLiteral("wrong"),
                           qs(GroupedDigits(trial.correct)), qs(GroupedDigits(trial.answer)), qs(verdict)))
                     .toStdString());
    session_.Record(std::move(trial));
    answered_ = true;
    Summary->Show(session_);
    showStatus();
}

void ListeningTest::clearResult() {
    CorrectLine->clear();
    AnswerLine->clear();
    Verdict->clear();
}

void ListeningTest::showStatus() {
    QString text;
    if (!current_)
        text = QStringLiteral("Enter または「スタート」で数字を読み上げます");
    else if (!answered_)
        text = QStringLiteral("%1問目：聞こえた数字を入力して Enter").arg(session_.Tried() + 1);
    else
        text = QStringLiteral("Enter で次の数字");
    Status->setText(text);
}

void ListeningTest::Save() {
    const QString path = deps_.askSavePath
                             ? deps_.askSavePath(this)
                             : QFileDialog::getSaveFileName(this, QStringLiteral("結果を保存"),
                                                            QStringLiteral("聞き取りテスト.csv"),
                                                            QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    QFile file(path);
    const std::string csv = session_.Csv();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size()) ||
        !file.flush()) {
        // Inline, like the answer hints: a dialog would take the keyboard away from the test.
        Status->setText(QStringLiteral("保存できませんでした：%1").arg(file.errorString()));
        trace::write("listening", (QStringLiteral("save-failed ") + path).toStdString());
        return;
    }
    trace::write("listening", (QStringLiteral("saved ") + path).toStdString());
}

}  // namespace drill
