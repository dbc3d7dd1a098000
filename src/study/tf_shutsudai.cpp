#include "tf_shutsudai.h"

#include "answermark.h"
#include "errors.h"
#include "friendlybutton.h"
#include "handwritingpanel.h"
#include "hintcontext.h"
#include "pickerpanels.h"
#include "program.h"
#include "randomsource.h"
#include "sessionresult.h"
#include "studystate.h"
#include "tf_kakijun.h"
#include "tf_saiten.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace moji {

namespace {

constexpr int BeforeStartHelp = 35;
constexpr int ReadingHelp = 351;
constexpr int WritingHelp = 352;
constexpr int ReviewHelp = 37;

QPushButton* navButton(const QString& text, QWidget* parent, const QRect& geometry, const char* name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setFont(pixelFont(b->font(), 15));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TF_Shutsudai::TF_Shutsudai(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::QuestionSession, BeforeStartHelp, parent),
      m_session(program.state, program.random, program.clock), m_panels(program.state, program.random),
      m_music(program, QStringLiteral("Mondai.mid"), this)
{
    setObjectName(QStringLiteral("TF_Shutsudai"));
    program.state.SessionAlive = true;
    // A new session never opens on the review of one that is gone.
    program.state.RedoRound = false;
    program.sessionScreen = this;
    program.random.seedFromClock(program.clock);
    addHeaderButtons(30, TipVariant::Lowercase);
    buildControls();
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &TF_Shutsudai::Tim_ClockTimer);

    m_music.open();
}

TF_Shutsudai::~TF_Shutsudai()
{
    program().state.SessionAlive = false;
}

void TF_Shutsudai::buildControls()
{
    QWidget* c = canvas();
    m_title = new QLabel(c);
    m_title->setObjectName(QStringLiteral("Lbl_Title"));
    m_title->setFont(pixelFont(font(), 22));
    m_title->setStyleSheet(QStringLiteral("color: yellow;"));
    m_title->setGeometry(10, 0, 620, 28);

    m_timeLeft = new QLabel(c);
    m_timeLeft->setObjectName(QStringLiteral("Lbl_Nokori_Time"));
    m_timeLeft->setFont(pixelFont(font(), 20));
    m_timeLeft->setStyleSheet(QStringLiteral("color: red;"));
    m_timeLeft->setGeometry(340, 44, 200, 28);

    m_debug = navButton(QStringLiteral("デバッグ"), c, QRect(560, 44, 70, 26), "Btn_Debug");
    m_debug->hide();
    connect(m_debug, &QPushButton::clicked, this, &TF_Shutsudai::Btn_DebugClick);

    m_questionBox = new QGroupBox(c);
    m_questionBox->setObjectName(QStringLiteral("Grp_Mondai"));
    m_questionBox->setGeometry(10, 82, 620, 62);
    m_questionBox->setFont(pixelFont(font(), 13));
    m_questionBox->setStyleSheet(QStringLiteral("QGroupBox { color: white; border: 1px solid #8080c0; margin-top: 8px; }"
                                                " QGroupBox::title { left: 8px; padding: 0 4px; }"));
    QFont sentenceFont = font();
    sentenceFont.setPointSize(16);
    sentenceFont.setBold(true);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(m_questionBox);
        label->setObjectName(QStringLiteral("Lbl_Mondai%1").arg(i + 1));
        label->setFont(sentenceFont);
        label->move(10, 20);
        m_sentence[std::size_t(i)] = label;
    }

    auto* answerBox = new QGroupBox(QStringLiteral("答"), c);
    answerBox->setObjectName(QStringLiteral("Grp_Kotae"));
    answerBox->setGeometry(10, 148, 400, 60);
    answerBox->setFont(m_questionBox->font());
    answerBox->setStyleSheet(m_questionBox->styleSheet());
    m_answer = new QLabel(answerBox);
    m_answer->setObjectName(QStringLiteral("Lbl_kotae"));
    m_answer->setFont(pixelFont(font(), 28));
    m_answer->setStyleSheet(QStringLiteral("color: white;"));
    m_answer->setGeometry(10, 16, 150, 40);
    m_deletePart = navButton(QStringLiteral("さいごの字をけす"), answerBox, QRect(164, 20, 124, 32), "Btn_DelPart");
    m_deletePart->setToolTip(QStringLiteral("こたえのさいごのじをけす"));
    m_deleteAll = navButton(QStringLiteral("ぜんぶけす"), answerBox, QRect(292, 20, 100, 32), "Btn_Delall");
    m_deleteAll->setToolTip(QStringLiteral("こたえのじをぜんぶけす"));
    // While the mark shows, the answer, the pickers below it and the check button wait.
    m_mark = new AnswerMark(c, answerBox->geometry().topLeft() + m_answer->geometry().center(),
                            QRect(0, answerBox->geometry().top(), DesignWidth, DesignHeight - answerBox->geometry().top()));
    connect(m_deletePart, &QPushButton::clicked, this, [this] {
        m_panels.deleteLast();
        updateAnswer();
    });
    connect(m_deleteAll, &QPushButton::clicked, this, [this] {
        m_panels.deleteAll();
        updateAnswer();
    });

    m_prev = navButton(QStringLiteral("前のもんだい"), c, QRect(418, 150, 104, 28), "Btn_Prev");
    m_prev->setToolTip(QStringLiteral("まえのもんだいにもどる"));
    m_cancel = navButton(QStringLiteral("もどる"), c, QRect(418, 180, 104, 28), "Btn_Cancel");
    m_cancel->setToolTip(QStringLiteral("まえのがめんにもどる"));
    m_next = navButton(QStringLiteral("はじめ"), c, QRect(526, 150, 104, 58), "Btn_Next");
    m_next->setFont(pixelFont(font(), 20));
    m_check = navButton(QStringLiteral("答えあわせ"), c, QRect(526, 150, 104, 58), "Btn_awase");
    m_check->setFont(pixelFont(font(), 18));
    m_check->setToolTip(QStringLiteral("こたえあわせをする"));
    for (QPushButton* b : {m_prev, m_cancel, m_next, m_check, m_deletePart, m_deleteAll})
        useHandCursor(program(), b);
    connect(m_next, &QPushButton::clicked, this, &TF_Shutsudai::btn_NextClick);
    connect(m_prev, &QPushButton::clicked, this, &TF_Shutsudai::Btn_PrevClick);
    connect(m_check, &QPushButton::clicked, this, &TF_Shutsudai::btn_awaseClick);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_panels.back();
        m_pickers->refresh();
        updateAnswer();
    });

    m_pickers = new PickerPanels(program(), m_panels, c, program().state.StudyMode);
    connect(m_pickers, &PickerPanels::changed, this, &TF_Shutsudai::updateAnswer);
    const StudyState& s = program().state;
    if (s.StudyMode == 2 && s.HandwritingOn && program().recognizer) {
        m_handwriting = new HandwritingPanel(program(), m_panels, c);
        connect(m_handwriting, &HandwritingPanel::changed, this, [this] {
            m_pickers->refresh();
            updateAnswer();
        });
    }

    // Where the remaining time stands while questions are asked; the review has no clock.
    m_shownAnswer = new QLabel(c);
    m_shownAnswer->setObjectName(QStringLiteral("Lbl_Kotae_Oshie"));
    m_shownAnswer->setGeometry(310, 34, 196, 42);
    m_shownAnswer->setFont(pixelFont(font(), 22));
    m_shownAnswer->setAlignment(Qt::AlignCenter);
    m_shownAnswer->setStyleSheet(QStringLiteral("color: #142060; background: #fff8c0; border: 2px solid #f0c000;"
                                                " border-radius: 8px;"));
    m_shownAnswer->hide();
    m_shownStrokeOrder = friendlyButton(QStringLiteral("かきじゅん"), "Btn_Kakijun_Oshie", QRect(514, 36, 116, 38), 17, c);
    m_shownStrokeOrder->setToolTip(QStringLiteral("こたえの　かんじの　かきじゅんを　みる"));
    useHandCursor(program(), m_shownStrokeOrder);
    m_shownStrokeOrder->hide();
    connect(m_shownStrokeOrder, &QPushButton::clicked, this, [this] {
        const QString answer = program().state.QuizSet[m_current].Answer.toUnicode();
        if (m_handwriting)
            m_handwriting->showAnswer(answer);
        else
            TF_Kakijun::present(program(), answer, {}, this);
    });
}

QString TF_Shutsudai::answerText() const
{
    return m_answer->text();
}

QString TF_Shutsudai::sentenceText(int part) const
{
    return m_sentence[std::size_t(part - 1)]->text();
}

QColor TF_Shutsudai::sentenceColour(int part) const
{
    return m_sentence[std::size_t(part - 1)]->palette().color(QPalette::WindowText);
}

void TF_Shutsudai::showEvent(QShowEvent* event)
{
    ScreenFrame::showEvent(event);
    // A window restored from the task bar is not a new show.
    if (event->spontaneous())
        return;
    m_answer->clear();
    m_panels.deleteAll();
    m_current = 0;
    m_pickers->hideAll();
    if (m_handwriting)
        m_handwriting->hideAll();
    if (program().state.RedoRound)
        startReview();
    else if (!m_started)
        prepareNewSession();
}

void TF_Shutsudai::prepareNewSession()
{
    setHelpTopic(BeforeStartHelp);
    const StudyState& s = program().state;
    m_title->setText(s.ReviewSession && !s.SessionKind ? QStringLiteral("ふくしゅう：おぼえた　かんじを　もういちど！") : QString());
    m_session.chooseQuestions();
    m_next->setText(QStringLiteral("はじめ"));
    m_next->show();
    for (QPushButton* b : {m_check, m_prev, m_deletePart, m_deleteAll, m_cancel})
        b->hide();
    m_timeLeft->clear();
    for (QLabel* l : m_sentence)
        l->clear();
    m_questionBox->setTitle(QString());
}

void TF_Shutsudai::btn_NextClick()
{
    if (m_review || m_finished)
        return;
    if (!m_started) {
        startSession();
        return;
    }
    m_session.commitAnswer(m_current, m_answer->text());
    if (m_current < QuestionSession::Questions) {
        showQuestion(m_current + 1);
        return;
    }
    if (!program().messages.question(this, QStringLiteral("１０もんおわりました。さいてんしてよいですか？")))
        return; // the pupil stays on question 10 and the clock runs on
    goToScoring();
}

void TF_Shutsudai::startSession()
{
    StudyState& s = program().state;
    m_started = true;
    m_next->setText(QStringLiteral("つぎ"));
    m_panels.prepare(s.StudyMode);
    m_pickers->refresh();
    m_title->setText((s.ReviewSession && !s.SessionKind ? QStringLiteral("ふくしゅう：") : QString())
                     + (s.StudyMode == 1 ? QStringLiteral("あかいじのかなをえらぼう！") : QStringLiteral("あかいじのかんじをえらぼう！")));
    m_debug->setVisible(s.DebugMode);
    m_deletePart->show();
    m_deleteAll->show();
    try {
        m_session.rememberAsked();
    } catch (const DataError& e) {
        endProgramWithError(program(), this, errorReportText(e));
        return;
    }
    m_session.startClock();
    setHelpTopic(s.StudyMode == 1 ? ReadingHelp : WritingHelp);
    m_clock.start();
    Tim_ClockTimer();
    m_music.start();
    showQuestion(1);
}

bool TF_Shutsudai::loadOrFail(int n)
{
    try {
        showSentence(m_session.loadQuestion(n));
        return true;
    } catch (const DataError& e) {
        m_clock.stop();
        endProgramWithError(program(), this, errorReportText(e));
        return false;
    }
}

void TF_Shutsudai::showQuestion(int n)
{
    m_current = n;
    if (!loadOrFail(n))
        return;
    // A review starts each question afresh; otherwise the stored answer comes back.
    m_panels.setAnswer(m_review ? QString() : program().state.QuizSet[n].Given.toUnicode());
    m_panels.resetView();
    m_pickers->setQuestionKanji(program().state.QuizSet[n].KanjiNo);
    m_pickers->refresh();
    if (m_handwriting)
        m_handwriting->setAnswer(program().state.QuizSet[n].Answer.toUnicode());
    m_prev->setVisible(!m_review && n >= 2);
    m_cancel->hide();
    m_shownAnswer->hide();
    m_shownStrokeOrder->hide();
    updateAnswer();
}

void TF_Shutsudai::showSentence(const SentenceView& view)
{
    // The first part keeps the place the layout gave it (grown with the larger layout, below
    // the box's caption); the others follow it on its line.
    QPoint at = m_sentence[0]->pos();
    for (int i = 0; i < 3; ++i) {
        QLabel* label = m_sentence[std::size_t(i)];
        label->setText(view.parts[std::size_t(i)].trimmed());
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, i + 1 == view.target ? Qt::red : Qt::white);
        label->setPalette(pal);
        label->adjustSize();
        label->move(at);
        at.rx() += label->text().isEmpty() ? 0 : label->width();
    }
    m_questionBox->setTitle(QStringLiteral("だい%1もん").arg(m_current));
}

void TF_Shutsudai::Btn_PrevClick()
{
    if (m_current <= 1 || m_review)
        return;
    // What the pupil has built so far is kept as つぎ would keep it: going back to look at an
    // earlier question must not cost the answer to this one.
    m_session.commitAnswer(m_current, m_answer->text());
    --m_current;
    m_prev->setVisible(m_current > 1);
    showSentence(m_session.storedSentence(m_current));
    m_panels.setAnswer(program().state.QuizSet[m_current].Given.toUnicode());
    m_panels.resetView();
    m_pickers->setQuestionKanji(program().state.QuizSet[m_current].KanjiNo);
    m_pickers->refresh();
    if (m_handwriting)
        m_handwriting->setAnswer(program().state.QuizSet[m_current].Answer.toUnicode());
    m_cancel->hide();
    updateAnswer();
}

void TF_Shutsudai::updateAnswer()
{
    m_answer->setText(m_panels.answer());
    m_cancel->setVisible(m_panels.cancelVisible());
    if (m_handwriting)
        m_handwriting->refresh();
}

void TF_Shutsudai::Tim_ClockTimer()
{
    if (!m_started || m_finished)
        return;
    // While a box or dialog is open over the session (the question after question 10, the
    // question before quitting, the hints) the clock stands still, so that the pupil's answer
    // to it decides what follows and never a time-out beneath it.
    const bool standStill = boxOpen();
    m_session.clockTick(standStill);
    if (standStill)
        return;
    const auto text = m_session.clockText();
    if (text) {
        m_timeLeft->setText(*text);
        return;
    }
    // Time is up: stop first, so the time-out runs once.
    m_clock.stop();
    m_timeLeft->clear();
    program().messages.information(this, QStringLiteral("じかんがすぎました。さいてんします。"));
    if (program().ending)
        return;
    try {
        m_session.fillRemaining(m_current);
    } catch (const DataError& e) {
        endProgramWithError(program(), this, errorReportText(e));
        return;
    }
    goToScoring();
}

void TF_Shutsudai::goToScoring()
{
    // One scoring per session, and none once the program is ending.
    if (m_finished || program().ending)
        return;
    m_finished = true;
    m_clock.stop();
    m_music.release(); // the music does not come back for the review
    auto* scoring = new TF_Saiten(program());
    scoring->showScreen();
    hide();
}

void TF_Shutsudai::Btn_DebugClick()
{
    for (int q = 1; q <= 9 && m_current >= 1; ++q) {
        m_current = q;
        m_answer->setText(program().state.QuizSet[q].Answer.toUnicode());
        m_session.commitAnswer(q, m_answer->text());
        showQuestion(q + 1);
    }
    m_debug->hide();
}

void TF_Shutsudai::startReview()
{
    StudyState& s = program().state;
    m_review = true;
    setHelpTopic(ReviewHelp);
    m_panels.prepare(s.StudyMode);
    m_pickers->refresh();
    for (QLabel* l : m_sentence)
        l->clear();
    m_next->hide();
    m_check->show();
    m_title->setText(QStringLiteral("まちがえたもんだいのふくしゅうです"));
    m_prev->hide();
    m_cancel->hide();
    m_deletePart->show();
    m_deleteAll->show();
    m_debug->hide();
    m_timeLeft->clear();
    m_current = 0;
    moveOnInReview();
}

void TF_Shutsudai::btn_awaseClick()
{
    if (!m_review || m_current < 1 || m_mark->isVisible())
        return;
    const bool right = m_session.isAnswer(m_current, m_answer->text());
    program().playAnswerSound(right);
    const bool showAnswer = !right && m_session.wrongCorrection(m_current);
    m_mark->showVerdict(right, [this, right, showAnswer] {
        if (right) {
            moveOnInReview();
            return;
        }
        m_panels.deleteAll();
        updateAnswer();
        if (showAnswer)
            showAnswerInReview();
    });
}

void TF_Shutsudai::showAnswerInReview()
{
    const QString answer = program().state.QuizSet[m_current].Answer.toUnicode();
    m_shownAnswer->setText(QStringLiteral("こたえは　「%1」").arg(answer));
    m_shownAnswer->show();
    if (program().state.StudyMode != 2)
        return;
    m_shownStrokeOrder->show();
    // Beside the pad, where the pupil writes it; over the screen without the pad.
    if (m_handwriting)
        m_handwriting->showAnswer(answer);
    else
        TF_Kakijun::present(program(), answer, QStringLiteral("こたえは　この　かんじだよ。\nかきじゅんを　よく　みて　かいてみよう！"),
                            this);
}

void TF_Shutsudai::moveOnInReview()
{
    const int next = m_session.nextWrong(m_current);
    if (next == 0) {
        endReview();
        return;
    }
    showQuestion(next);
}

void TF_Shutsudai::endReview()
{
    Program& p = program();
    StudyState& s = p.state;
    if (!m_review || p.ending)
        return;
    if (s.SessionCorrect >= PassMark) {
        try {
            s.RecordSessionResult(true);
        } catch (const DataError& e) {
            endProgramWithError(p, this, errorReportText(e));
            return;
        }
    }
    s.RedoRound = false;
    m_review = false;
    showSessionResult(p, this);
    close();
    if (p.navigator)
        p.navigator->show(Screen::ModeMenu);
}

void TF_Shutsudai::onBack()
{
    if (!program().messages.question(this, QStringLiteral("がくしゅうをやめてもよいですか？")) || program().ending)
        return;
    m_clock.stop();
    m_music.release();
    program().state.RedoRound = false;
    close();
    if (program().navigator)
        program().navigator->show(Screen::ModeMenu);
}

void TF_Shutsudai::onHint()
{
    StudyState& s = program().state;
    s.HintQuestion = int16_t(m_current);
    s.HintMode = s.StudyMode;
    if (m_current >= 1) {
        s.HintSection = HintSections::Answer;
        if (s.StudyMode == 2 && m_panels.listSource() == AnswerPanels::Source::Part) {
            switch (m_panels.panelState()) {
            case 1: s.HintSection = HintSections::Parts; break;
            case 2: s.HintSection = HintSections::KanjiList; break;
            default: s.HintSection = HintSections::RadicalGroups; break;
            }
        }
    }
    s.OpenHint();
}

void TF_Shutsudai::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        m_music.release();
    ScreenFrame::hideEvent(event);
}

void TF_Shutsudai::closeEvent(QCloseEvent* event)
{
    m_clock.stop();
    m_music.release();
    program().state.SessionAlive = false;
    // No review is left waiting for a screen that is gone.
    program().state.RedoRound = false;
    ScreenFrame::closeEvent(event);
}

} // namespace moji
