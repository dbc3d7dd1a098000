#include "tf_game1.h"

#include "errors.h"
#include "examplesentence.h"
#include "hintcontext.h"
#include "program.h"
#include "randomsource.h"
#include "studystate.h"
#include "tf_game_kiroku.h"
#include "tf_pop.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QPalette>
#include <QRadioButton>

namespace moji {

namespace {

constexpr int MatchingHelpTopic = 38;
constexpr int TickMilliseconds = 2000;
constexpr int BarFrameWidth = 162;
const QString Music = QStringLiteral("Eawase.mid");

QString groupStyle()
{
    return QStringLiteral("QGroupBox { color: white; font-weight: bold; border: 1px solid #8080c0; margin-top: 9px; }"
                          " QGroupBox::title { left: 8px; padding: 0 4px; }"
                          " QLabel { color: white; }");
}

} // namespace

TF_Game1::TF_Game1(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::MatchingGame, MatchingHelpTopic, parent),
      m_game(program.state, program.random, program.clock),
      m_cardSize(program.state.LayoutKind == 1 ? 70 : 50), m_music(program, Music, this)
{
    setObjectName(QStringLiteral("TF_Game1"));
    program.state.Game1Alive = true;
    program.matchingGameScreen = this;
    QLabel* title = addTitle(QStringLiteral("かんじあわせゲーム"), 24);
    title->setObjectName(QStringLiteral("Label1"));
    addHeaderButtons(30, TipVariant::Lowercase);

    // The board of 6 x 6 cards; larger cards in the larger layout, where the board must come to
    // 420 pixels after the layout has grown by 1.25.
    const QSize side = program.state.LayoutKind == 1 ? QSize(336, 344) : QSize(330, 340);
    m_board = new QGroupBox(canvas());
    m_board->setObjectName(QStringLiteral("Grp_E"));
    m_board->setToolTip(QStringLiteral("ボタンをおしてください。"));
    m_board->setGeometry(QRect(QPoint(10, 122), side));
    m_board->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid #8080c0; }"));

    QFont sentenceFont = font();
    sentenceFont.setPointSize(16);
    sentenceFont.setBold(true);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(canvas());
        label->setFont(sentenceFont);
        label->move(10, 88);
        m_sentence[std::size_t(i)] = label;
    }

    auto* strength = new QGroupBox(QStringLiteral("コンピュータのつよさ"), canvas());
    strength->setObjectName(QStringLiteral("Grp_Tsuyosa"));
    strength->setGeometry(400, 122, 230, 54);
    strength->setStyleSheet(groupStyle());
    m_strengthGroup = strength;
    m_strengths = new QButtonGroup(this);
    const char* const names[3] = {"つよい", "ふつう", "よわい"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(names[i]), strength);
        radio->setFont(pixelFont(font(), 15));
        radio->setGeometry(10 + i * 72, 22, 70, 24);
        // White words on the blue screen, but the dot keeps the dark text colour: a style-sheet
        // colour would paint the dot white on the white circle, hiding which strength is chosen.
        QPalette palette = radio->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        radio->setPalette(palette);
        m_strengths->addButton(radio, i);
    }
    m_strengths->button(1)->setChecked(true);
    m_strengthLabel = new QLabel(canvas());
    m_strengthLabel->setObjectName(QStringLiteral("Lbl_Tsuyosa"));
    m_strengthLabel->setFont(pixelFont(font(), 16));
    m_strengthLabel->setStyleSheet(QStringLiteral("color: yellow;"));
    m_strengthLabel->setGeometry(400, 180, 230, 22);

    auto* scores = new QGroupBox(QStringLiteral("とくてん"), canvas());
    scores->setObjectName(QStringLiteral("GroupBox1"));
    scores->setGeometry(400, 206, 230, 122);
    scores->setStyleSheet(groupStyle());
    auto scoreRow = [&](const QString& who, int y, QLabel*& value, QFrame*& frame, QFrame*& bar) {
        auto* name = new QLabel(who, scores);
        name->setFont(pixelFont(font(), 15));
        name->move(10, y);
        name->adjustSize();
        value = new QLabel(scores);
        value->setFont(pixelFont(font(), 18));
        value->setGeometry(170, y - 2, 50, 24);
        frame = new QFrame(scores);
        frame->setGeometry(10, y + 24, BarFrameWidth, 14);
        frame->setStyleSheet(QStringLiteral("border: 1px solid white;"));
        bar = new QFrame(scores);
        bar->setGeometry(10, y + 24, 0, 14);
        bar->setStyleSheet(QStringLiteral("background: red;"));
        bar->hide();
    };
    scoreRow(QStringLiteral("あなた"), 24, m_manScore, m_manFrame, m_manBar);
    scoreRow(QStringLiteral("コンピュータ"), 72, m_comScore, m_comFrame, m_comBar);

    m_turn = new QLabel(canvas());
    m_turn->setObjectName(QStringLiteral("Lbl_Junban"));
    m_turn->setFont(pixelFont(font(), 20));
    m_turn->setStyleSheet(QStringLiteral("color: yellow;"));
    m_turn->setGeometry(400, 336, 230, 30);

    m_start = new QPushButton(QStringLiteral("ゲームはじめ"), canvas());
    m_start->setObjectName(QStringLiteral("Btn_Start"));
    m_start->setToolTip(QStringLiteral("かんじあわせゲームをはじめる"));
    m_start->setFont(pixelFont(font(), 18));
    m_start->setGeometry(430, 380, 170, 48);
    useHandCursor(program, m_start);
    connect(m_start, &QPushButton::clicked, this, &TF_Game1::Btn_StartClick);

    m_timer.setInterval(TickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &TF_Game1::Timer1Timer);

    m_music.open();
}

TF_Game1::~TF_Game1()
{
    program().state.Game1Alive = false;
}

QPixmap TF_Game1::cardBack()
{
    QPixmap back(m_cardSize, m_cardSize);
    back.fill(Navy);
    QPainter p(&back);
    p.setPen(Qt::white);
    p.drawRect(0, 0, m_cardSize - 1, m_cardSize - 1);
    const QPixmap picture = program().noticePicture(program().random.Random(10));
    if (!picture.isNull())
        p.drawPixmap(1, 1, picture);
    return back;
}

void TF_Game1::Btn_StartClick()
{
    if (m_dealt)
        return;
    m_dealt = true;
    for (int k = 1; k <= MatchingGame::Cards; ++k) {
        const int c = (k - 1) / 6;
        const int r = (k - 1) % 6;
        auto* card = new QPushButton(m_board);
        card->setObjectName(QStringLiteral("Btn_E%1").arg(k));
        card->setFlat(true);
        card->setFocusPolicy(Qt::NoFocus);
        card->setIcon(cardBack());
        card->setIconSize(QSize(m_cardSize, m_cardSize));
        card->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0; background: #000080; }"));
        if (m_cardSize == 70)
            card->setGeometry(c * 70, r * 70 + 10, 70, 70);
        else
            card->setGeometry(c * 50 + 10, r * 50 + 20, 50, 50);
        useHandCursor(program(), card);
        connect(card, &QPushButton::clicked, this, [this, k] { Btn_EClick(k); });
        m_cards[std::size_t(k - 1)] = card;
    }
    QFont faceFont = font();
    faceFont.setPointSize(m_cardSize == 70 ? 34 : 28);
    faceFont.setBold(true);
    for (int i = 0; i < 2; ++i) {
        auto* face = new QLabel(m_board);
        face->setFont(faceFont);
        face->setStyleSheet(QStringLiteral("color: white;"));
        face->hide();
        m_faces[std::size_t(i)] = face;
    }
    m_strengthGroup->setEnabled(false);

    const int index = m_strengths->checkedId();
    const MatchingGame::Strength strength =
        index == 0 ? MatchingGame::Strength::Strong : index == 2 ? MatchingGame::Strength::Weak : MatchingGame::Strength::Normal;
    m_game.deal(strength);
    m_strengthLabel->setText(index == 0 ? QStringLiteral("強い") : index == 2 ? QStringLiteral("弱い") : QStringLiteral("ふつう"));
    m_start->hide();
    m_manBar->show();
    m_comBar->show();
    m_music.start();
    refresh();
}

void TF_Game1::Btn_EClick(int k)
{
    if (!m_game.clickCard(k))
        return;
    refresh();
    if (m_game.finished())
        finishGame();
}

void TF_Game1::Timer1Timer()
{
    // The computer does not play beneath a box (the hints, a sound's error report): the game
    // goes on when the pupil is back.
    if (boxOpen())
        return;
    m_game.tick();
    StudyState& s = program().state;
    if (m_game.idleNoticeDue() && s.PopupsOn) {
        s.PopGroup = 2;
        s.PopNo = 3;
        (new TF_Pop(program()))->showNotice();
    }
    refresh();
    if (m_game.finished())
        finishGame();
}

void TF_Game1::refresh()
{
    for (int k = 1; k <= MatchingGame::Cards; ++k) {
        QPushButton* card = m_cards[std::size_t(k - 1)];
        if (!card)
            continue;
        const MatchingGame::Card state = m_game.card(k);
        if (state == MatchingGame::Card::TakenByComputer) {
            // Painted over and out of play: shown again it stays blank.
            card->setIcon(QIcon());
            card->setEnabled(false);
            card->unsetCursor();
        }
        card->setVisible(state == MatchingGame::Card::FaceDown || state == MatchingGame::Card::TakenByComputer);
    }
    for (int i = 1; i <= 2; ++i) {
        QLabel* face = m_faces[std::size_t(i - 1)];
        const int k = m_game.faceLabelCard(i);
        if (!face)
            continue;
        if (k == 0) {
            face->hide();
            continue;
        }
        face->setText(program().state.KanjiTable[m_game.cardKanji(k)].Glyph.toUnicode());
        face->adjustSize();
        const QRect card = m_cards[std::size_t(k - 1)]->geometry();
        face->move(card.left() + (m_cardSize - face->width()) / 2, card.top() + (m_cardSize - face->height()) / 2);
        face->show();
    }
    showSentence();

    m_manScore->setText(QString::number(m_game.manScore()));
    m_comScore->setText(QString::number(m_game.comScore()));
    // All the pairs fill a frame, however wide the layout made it.
    constexpr int Pairs = MatchingGame::Cards / 2;
    m_manBar->resize(m_manFrame->width() * m_game.manScore() / Pairs, m_manBar->height());
    m_comBar->resize(m_comFrame->width() * m_game.comScore() / Pairs, m_comBar->height());
    const PlayerRecord& pupil = program().state.Roster[program().state.PlayerNo];
    m_turn->setText(m_game.computerIsNext() ? QStringLiteral("コンピュータのばん") : pupil.Name.toUnicode().trimmed() + QStringLiteral("のばん"));
    m_board->setToolTip(m_game.playerTurn() ? QStringLiteral("ボタンをおしてください。") : QString());
    if (m_game.timerRunning() && !m_timer.isActive())
        m_timer.start();
    else if (!m_game.timerRunning())
        m_timer.stop();
}

void TF_Game1::showSentence()
{
    if (m_game.sentenceSerial() == m_shownSentence && m_game.sentenceKanji() != 0)
        return;
    for (QLabel* l : m_sentence)
        l->clear();
    if (m_game.sentenceKanji() == 0)
        return;
    m_shownSentence = m_game.sentenceSerial();
    SentenceView view;
    try {
        view = exampleSentence(program().state, program().random, m_game.sentenceKanji());
    } catch (const DataError& e) {
        m_timer.stop();
        endProgramWithError(program(), this, errorReportText(e));
        return;
    }
    // The first part keeps the place the layout gave it (grown with the larger layout, below
    // the header buttons); the others follow it on its line.
    QPoint at = m_sentence[0]->pos();
    for (int i = 0; i < 3; ++i) {
        QLabel* label = m_sentence[std::size_t(i)];
        label->setText(view.parts[std::size_t(i)].trimmed());
        label->setStyleSheet(i + 1 == view.target ? QStringLiteral("color: red;") : QStringLiteral("color: white;"));
        label->adjustSize();
        label->move(at);
        at.rx() += label->text().isEmpty() ? 0 : label->width();
    }
}

QString TF_Game1::sentence() const
{
    return m_sentence[0]->text() + m_sentence[1]->text() + m_sentence[2]->text();
}

void TF_Game1::finishGame()
{
    m_timer.stop();
    m_music.stop();
    Program& p = program();
    StudyState& s = p.state;
    const PlayerRecord& pupil = s.Roster[s.PlayerNo];
    switch (m_game.ending()) {
    case MatchingGame::Ending::ComputerWins: p.messages.information(this, QStringLiteral("コンピュータのかち")); break;
    case MatchingGame::Ending::Draw: p.messages.information(this, QStringLiteral("ひきわけ")); break;
    default: p.messages.information(this, pupil.Name.toUnicode() + QStringLiteral("のかち")); break;
    }
    if (MatchingGame::raisesLevel(m_game.ending(), m_game.strength(), s.CurrentGame1Level, s.CurrentLevel)) {
        ++s.CurrentGame1Level;
        s.Roster[s.PlayerNo].Game1Level = s.CurrentGame1Level;
        try {
            // On disk at once, so a level won is not lost when the program ends another way.
            s.WriteRoster();
        } catch (const DataError& e) {
            p.messages.error(this, errorReportText(e));
        }
    }
    if (m_game.failedAtTheEnd())
        p.messages.information(this, QStringLiteral("ざんねん！ ふごうかくです"));
    if (p.ending)
        return;
    TF_Game_Kiroku table(p, HintTopics::MatchingGame, m_game.manScore(), this);
    table.exec();
    onBack();
}

void TF_Game1::onBack()
{
    m_music.release();
    m_timer.stop();
    close();
    if (program().navigator)
        program().navigator->show(Screen::ModeMenu);
}

void TF_Game1::closeEvent(QCloseEvent* event)
{
    m_timer.stop();
    m_music.release();
    program().state.Game1Alive = false;
    ScreenFrame::closeEvent(event);
}

} // namespace moji
