#include "tf_mode.h"

#include "clickablelabel.h"
#include "errors.h"
#include "friendlybutton.h"
#include "hintcontext.h"
#include "modestars.h"
#include "program.h"
#include "review.h"
#include "studystate.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace moji {

namespace {

constexpr int ModeHelpTopic = 34;
constexpr int StarImageWidth = 192;
constexpr int StarImageHeight = 64;
constexpr int StarStep = 38;

const char* const CommandCaptions[4] = {"かんじのいちらんを見る", "かんじごとのせいせきを見る",
                                        "チャレンジモードでべんきょうする", "れんしゅうモードでべんきょうする"};

QLabel* caption(const QString& text, QWidget* parent, int x, int y, int pixels = 14)
{
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setPixelSize(pixels);
    f.setBold(true);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: white;"));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QGroupBox* group(const QString& title, QWidget* parent, const QRect& geometry)
{
    auto* box = new QGroupBox(title, parent);
    QFont f = box->font();
    f.setPixelSize(13);
    box->setFont(f);
    box->setGeometry(geometry);
    box->setStyleSheet(QStringLiteral("QGroupBox { color: white; font-weight: bold; border: 1px solid #8080c0;"
                                      " margin-top: 10px; } QGroupBox::title { left: 8px; padding: 0 4px; }"));
    box->setMouseTracking(true);
    return box;
}

ClickableLabel* command(const QString& text, int tag, QWidget* parent, const QRect& geometry)
{
    auto* label = new ClickableLabel(text, tag, parent);
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPointSize(12);
    f.setBold(true);
    label->setFont(f);
    label->setTextColour(Qt::white);
    label->setGeometry(geometry);
    label->setToolTip(text);
    return label;
}

} // namespace

std::array<QImage, 2> TF_Mode::loadStars(const QString& path)
{
    QImage strip(path);
    std::array<QImage, 2> tiles;
    if (strip.isNull() || strip.width() < 68 || strip.height() < 34) {
        // Without the picture the stars are still drawn, plainly.
        for (int i = 0; i < 2; ++i) {
            tiles[std::size_t(i)] = QImage(StarPixels, StarPixels, QImage::Format_RGB32);
            tiles[std::size_t(i)].fill(ScreenFrame::Navy);
            QPainter p(&tiles[std::size_t(i)]);
            p.setRenderHint(QPainter::Antialiasing);
            p.setBrush(i == 0 ? QColor(255, 215, 0) : QColor(60, 60, 100));
            p.setPen(QPen(Qt::black, 1));
            QPolygonF star;
            for (int k = 0; k < 10; ++k) {
                const double r = k % 2 == 0 ? 15 : 6;
                const double a = -M_PI / 2 + k * M_PI / 5;
                star << QPointF(16 + r * std::cos(a), 16 + r * std::sin(a));
            }
            p.drawPolygon(star);
        }
        return tiles;
    }
    const QImage onNavy = floodFilled(strip, QPoint(1, 1), ScreenFrame::Navy);
    tiles[0] = onNavy.copy(1, 1, StarPixels, StarPixels);
    tiles[1] = onNavy.copy(34 + 1, 1, StarPixels, StarPixels);
    return tiles;
}

TF_Mode::TF_Mode(Program& program, QWidget* parent) : ScreenFrame(program, HintTopics::ModeMenu, ModeHelpTopic, parent)
{
    setObjectName(QStringLiteral("TF_Mode"));
    setWindowTitle(QStringLiteral("もじまる"));
    setMouseTracking(true);
    canvas()->setMouseTracking(true);
    m_stars = loadStars(program.state.dataPath(QStringLiteral("Stars.bmp")));

    m_name = new QLabel(canvas());
    m_name->setObjectName(QStringLiteral("Lbl_Name"));
    QFont nameFont = m_name->font();
    nameFont.setPixelSize(24);
    nameFont.setBold(true);
    m_name->setFont(nameFont);
    m_name->setStyleSheet(QStringLiteral("color: yellow;"));
    m_name->setGeometry(10, 0, 620, 30);
    addHeaderButtons();

    QGroupBox* study = group(QStringLiteral("かんじのがくしゅう"), canvas(), QRect(10, 88, 300, 384));
    study->setObjectName(QStringLiteral("Grp_gakushu"));
    caption(QStringLiteral("がくしゅうレベル"), study, 12, 32, 16);
    caption(QStringLiteral("読むがくしゅう"), study, 12, 58)->setToolTip(QStringLiteral("よむがくしゅうのレベルをしめしています。"));
    caption(QStringLiteral("書くがくしゅう"), study, 12, 146)->setToolTip(QStringLiteral("かくがくしゅうのレベルをしめしています。"));
    QGroupBox* games = group(QStringLiteral("かんじのゲーム"), canvas(), QRect(330, 88, 300, 384));
    games->setObjectName(QStringLiteral("Grp_Game"));
    caption(QStringLiteral("ゲームのレベル"), games, 12, 32, 16);
    caption(QStringLiteral("かんじあわせゲーム"), games, 12, 58)->setToolTip(QStringLiteral("かんじあわせゲームのレベルをしめしています。"));
    caption(QStringLiteral("かんじキャッチャーゲーム"), games, 12, 146)->setToolTip(QStringLiteral("かんじキャッチャーゲームのレベルをしめしています。"));

    const char* const imageNames[4] = {"Img_Yomi_Level", "Img_Kaki_Level", "Img_Game1_Level", "Img_Game3_Level"};
    for (int row = 0; row < 4; ++row) {
        auto* image = new QLabel(row < 2 ? study : games);
        image->setObjectName(QLatin1String(imageNames[row]));
        image->setGeometry(12, row % 2 == 0 ? 78 : 166, StarImageWidth, StarImageHeight);
        m_starImages[std::size_t(row)] = image;
    }
    const int commandsTop = m_starImages[1]->geometry().bottom() + 1;
    for (int tag = 1; tag <= 4; ++tag) {
        auto* label = command(QString::fromUtf8(CommandCaptions[tag - 1]), tag, study,
                              QRect(12, commandsTop + 32 * tag - 22, 280, 32));
        label->setObjectName(QStringLiteral("Lbl_Command%1").arg(tag));
        useHandCursor(program, label);
        connect(label, &ClickableLabel::clicked, this, [this, tag] { Lbl_Command1Click(tag); });
        connect(label, &ClickableLabel::hovered, this, [this, tag] { highlightCommand(tag); });
        m_commands[std::size_t(tag - 1)] = label;
    }

    // ふくしゅう beside the star rows, where the pupil looks for how far they have come.
    m_review = friendlyButton(QString(), "Btn_Fukushuu", QRect(204, 86, 88, 124), 13, study);
    auto* lines = new QVBoxLayout(m_review);
    lines->setContentsMargins(2, 6, 2, 6);
    lines->setSpacing(0);
    const int linePixels[3] = {13, 16, 22};
    for (std::size_t i = 0; i < m_reviewLines.size(); ++i) {
        auto* line = new QLabel(m_review);
        line->setObjectName(QStringLiteral("Lbl_Fukushuu%1").arg(i + 1));
        line->setFont(pixelFont(font(), linePixels[i]));
        line->setAlignment(Qt::AlignCenter);
        line->setStyleSheet(QStringLiteral("color: #202060; background: transparent;"));
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        lines->addWidget(line);
        m_reviewLines[i] = line;
    }
    useHandCursor(program, m_review);
    connect(m_review, &QPushButton::clicked, this, &TF_Mode::Btn_FukushuuClick);

    m_game1 = command(QStringLiteral("かんじあわせにちょうせんする"), 1, games, QRect(12, commandsTop + 10, 280, 32));
    m_game1->setObjectName(QStringLiteral("Lbl_Game1"));
    m_game3 = command(QStringLiteral("かんじキャッチャーにちょうせんする"), 3, games, QRect(12, commandsTop + 42, 280, 32));
    m_game3->setObjectName(QStringLiteral("Lbl_Game3"));
    m_game3->setToolTip(QStringLiteral("かんじキャッチャーゲームにちょうせんする"));
    for (ClickableLabel* game : {m_game1, m_game3}) {
        useHandCursor(program, game);
        const int g = game->tag();
        connect(game, &ClickableLabel::clicked, this, [this, g] { Lbl_GameClick(g); });
        connect(game, &ClickableLabel::hovered, this, [this, g] { highlightGame(g); });
    }
}

void TF_Mode::showEvent(QShowEvent* event)
{
    ScreenFrame::showEvent(event);
    loadPupil();
    drawStars();
    showReview();
    closeLeftovers();
}

void TF_Mode::activated()
{
    program().state.PopupShowing = false;
}

void TF_Mode::loadPupil()
{
    StudyState& s = program().state;
    const PlayerRecord& pupil = s.Roster[s.PlayerNo];
    s.StudyMode = pupil.Mode;
    s.CurrentLevel = pupil.Level;
    s.CurrentGame1Level = pupil.Game1Level;
    s.CurrentGame3Level = pupil.Game3Level;
    m_name->setText(pupil.Name.toUnicode() + QStringLiteral("のもじまるチャレンジ"));
}

void TF_Mode::drawStars()
{
    const StudyState& s = program().state;
    std::array<QImage, 4> rows;
    for (QImage& row : rows) {
        row = QImage(StarImageWidth, StarImageHeight, QImage::Format_RGB32);
        row.fill(Navy);
    }
    auto drawStar = [&](QImage& row, int star, int litPixels) {
        const int x = ((star - 1) % 5) * StarStep;
        const int y = ((star - 1) / 5) * StarPixels;
        QPainter p(&row);
        if (litPixels <= 0) {
            p.drawImage(x, y, m_stars[1]);
            return;
        }
        p.drawImage(x, y, m_stars[0]);
        if (litPixels < StarPixels)
            p.fillRect(x + litPixels, y, StarPixels - litPixels, StarPixels, Navy);
    };
    for (int star = 1; star <= 10; ++star) {
        const StarFill fill = studyStarFill(star, s.CurrentLevel, s.StudyMode, s.LevelPoints, LevelStep);
        drawStar(rows[0], star, fill.reading);
        drawStar(rows[1], star, fill.writing);
        drawStar(rows[2], star, star <= s.CurrentGame1Level ? StarPixels : 0);
        drawStar(rows[3], star, star <= s.CurrentGame3Level ? StarPixels : 0);
    }
    for (int i = 0; i < 4; ++i)
        m_starImages[std::size_t(i)]->setPixmap(QPixmap::fromImage(rows[std::size_t(i)]));
}

QImage TF_Mode::starImage(int row) const
{
    return m_starImages[std::size_t(row)]->pixmap().toImage();
}

void TF_Mode::closeLeftovers()
{
    Program& p = program();
    StudyState& s = p.state;
    auto closeIf = [](bool& alive, QPointer<QWidget>& screen) {
        if (alive && screen)
            screen->close();
        alive = false;
    };
    closeIf(s.Game1Alive, p.matchingGameScreen);
    closeIf(s.Game3Alive, p.catcherGameScreen);
    closeIf(s.SessionAlive, p.sessionScreen);
}

void TF_Mode::Lbl_Command1Click(int tag)
{
    StudyState& s = program().state;
    const PlayerRecord& pupil = s.Roster[s.PlayerNo];
    switch (tag) {
    case 1: leaveFor(Screen::KanjiBoard); break;
    case 2: leaveFor(Screen::KanjiGrades); break;
    case 3:
        if (pupil.Level > MaxLevel)
            return; // every level is finished: nothing left to challenge
        s.SessionKind = true;
        s.ReviewSession = false;
        s.CurrentLevel = pupil.Level;
        s.StudyMode = pupil.Mode;
        leaveFor(Screen::QuestionSession);
        break;
    case 4: startPractice(); break;
    default: break;
    }
}

void TF_Mode::startPractice()
{
    StudyState& s = program().state;
    s.SessionKind = false;
    s.ReviewSession = false;
    leaveFor(Screen::PracticeLevels);
}

std::vector<memory::LearnedKanji> TF_Mode::learnedToday() const
{
    Program& p = program();
    const PlayerRecord& pupil = p.state.Roster[p.state.PlayerNo];
    const memory::PupilMemory& known = memory::selectedPupilMemory(p.memory, p.state);
    return memory::learnedByRecall(known, pupil.Level, pupil.Mode, memory::today(p.clock));
}

void TF_Mode::showReview()
{
    Program& p = program();
    const StudyState& s = p.state;
    m_review->setVisible(s.SpacedReviewOn);
    if (!s.SpacedReviewOn)
        return;
    try {
        const std::vector<memory::LearnedKanji> learned = learnedToday();
        m_learnedAny = !learned.empty();
        m_due = memory::dueCount(learned);
    } catch (const DataError&) {
        // The history could not be read again: the review is left out, the rest goes on.
        m_review->hide();
        return;
    }
    const QStringList lines = m_due > 0 ? QStringList{QStringLiteral("きょうの"), QStringLiteral("ふくしゅう"),
                                                      fullWidthNumber(m_due) + QStringLiteral("こ")}
                                        : QStringList{QStringLiteral("きょうの"), QStringLiteral("ふくしゅうは"), QStringLiteral("ないよ")};
    for (std::size_t i = 0; i < m_reviewLines.size(); ++i)
        m_reviewLines[i]->setText(lines[qsizetype(i)]);
    // The count in red; nothing due is good news, in the button's own colour.
    m_reviewLines[2]->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(m_due > 0 ? "#c03000" : "#202060"));
    m_review->setToolTip(reviewLine());
    m_review->setAccessibleName(reviewLine());
}

QString TF_Mode::reviewLine() const
{
    QStringList words;
    for (const QLabel* line : m_reviewLines)
        words << line->text();
    return words.join(QStringLiteral("　"));
}

void TF_Mode::Btn_FukushuuClick()
{
    Program& p = program();
    StudyState& s = p.state;
    if (!s.SpacedReviewOn)
        return;
    std::optional<memory::ReviewPlan> plan;
    try {
        plan = memory::planReview(learnedToday());
    } catch (const DataError& e) {
        endProgramWithError(p, this, errorReportText(e));
        return;
    }
    if (!plan) {
        const QString text = m_learnedAny
                                 ? QStringLiteral("きょうの　ふくしゅうは　もう　ないよ。　よく　おぼえているね！　れんしゅうを　してみる？")
                                 : QStringLiteral("ふくしゅうは　レベルを　ひとつ　クリアすると　できるように　なるよ。　れんしゅうを　してみる？");
        if (p.messages.question(this, text) && !p.ending)
            startPractice();
        return;
    }
    memory::prepareReviewSession(s, *plan);
    leaveFor(Screen::QuestionSession);
}

void TF_Mode::Lbl_GameClick(int game)
{
    leaveFor(game == 1 ? Screen::MatchingGame : Screen::CatcherGame);
}

void TF_Mode::leaveFor(Screen screen)
{
    if (program().navigator)
        program().navigator->show(screen);
    hide();
}

void TF_Mode::highlightCommand(int tag)
{
    const bool finished = program().state.Roster[program().state.PlayerNo].Level > MaxLevel;
    for (ClickableLabel* c : m_commands)
        c->setTextColour(c->tag() == tag && !(finished && tag == 3) ? Qt::red : Qt::white);
    m_game1->setTextColour(Qt::white);
    m_game3->setTextColour(Qt::white);
}

void TF_Mode::highlightGame(int game)
{
    for (ClickableLabel* c : m_commands)
        c->setTextColour(Qt::white);
    m_game1->setTextColour(game == 1 ? Qt::red : Qt::white);
    m_game3->setTextColour(game == 3 ? Qt::red : Qt::white);
}

void TF_Mode::mouseMoveEvent(QMouseEvent* event)
{
    highlightCommand(0);
    ScreenFrame::mouseMoveEvent(event);
}

void TF_Mode::onBack()
{
    close();
    if (program().navigator)
        program().navigator->show(Screen::PlayerSelection);
}

} // namespace moji
