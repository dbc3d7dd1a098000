// The screenshot tour: runs the program's own screens on a demonstration program folder (the
// real data files plus a few pupils with weeks of history and game tables), walks through every
// screen and dialog, mid-animation where there is one, and saves a picture of the whole screen
// for each, with an index page.
//
//   mojimaru_tour <output folder>        (under an X server: make tour uses xvfb-run)

#include "clickablelabel.h"
#include "toplevel.h"
#include "daynumber.h"
#include "demofolder.h"
#include "handwritingpanel.h"
#include "kanachart.h"
#include "pickerpanels.h"
#include "programrun.h"
#include "tf_game1.h"
#include "tf_game3.h"
#include "tf_k_ichiran.h"
#include "tf_kanri.h"
#include "tf_kseiseki1.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_renshuu.h"
#include "tf_saiten.h"
#include "tf_seiseki1.h"
#include "tf_seiseki2.h"
#include "tf_shutsudai.h"
#include "tf_touroku.h"
#include "writingsquare.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <tuple>

using namespace moji;

namespace {

// How long the review's ○ or × stays before the screen goes on, with a little to spare.
constexpr int MarkMilliseconds = 1200;

struct Shot {
    QString file;
    QString caption;
};

class Tour {
public:
    Tour(QString out, QString prefix) : m_out(std::move(out)), m_prefix(std::move(prefix)) { QDir().mkpath(m_out); }

    // Lets the screens run for a while (animations, timers), then photographs the screen.
    void shoot(const QString& name, const QString& caption, int settleMs = 250)
    {
        wait(settleMs);
        const QString file = m_prefix + name + QStringLiteral(".png");
        QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(m_out).filePath(file));
        m_shots.push_back({file, caption});
        std::printf("%s\n", qPrintable(file));
    }

    // Photographs the modal dialog that `open` shows, then answers it (Yes for a question).
    void shootModal(const QString& name, const QString& caption, const std::function<void()>& open, bool yes = true)
    {
        QTimer::singleShot(400, [=, this] {
            shoot(name, caption, 0);
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                QAbstractButton* b = box->button(yes ? QMessageBox::Yes : QMessageBox::No);
                if (!b)
                    b = box->button(QMessageBox::Ok);
                if (b)
                    b->click();
                else
                    box->close();
            } else if (modal) {
                modal->close();
            }
        });
        open();
        wait(100);
    }

    // Answers every message box that opens while `act` runs. Any other dialog is photographed as
    // `name` once it has had time to draw (when a name is given), then closed.
    void answerAll(const std::function<void()>& act, bool yes = true, const QString& name = {},
                   const QString& caption = {})
    {
        QTimer closer;
        QElapsedTimer dialogShown;
        bool photographed = name.isEmpty();
        QObject::connect(&closer, &QTimer::timeout, [&, yes] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                QAbstractButton* b = box->button(yes ? QMessageBox::Yes : QMessageBox::Ok);
                if (!b)
                    b = box->button(QMessageBox::Ok);
                if (b)
                    b->click();
            } else if (modal) {
                if (!photographed) {
                    if (!dialogShown.isValid()) {
                        dialogShown.start();
                        return;
                    }
                    if (dialogShown.elapsed() < 400)
                        return;
                    photographed = true;
                    closer.stop();
                    shoot(name, caption, 0);
                    closer.start(50);
                }
                modal->close();
            }
        });
        closer.start(50);
        act();
        wait(100);
    }

    static void wait(int ms)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

    void writeIndex(const QString& title) const
    {
        QFile index(QDir(m_out).filePath(m_prefix + QStringLiteral("index.html")));
        if (!index.open(QIODevice::WriteOnly))
            return;
        QTextStream out(&index);
        out << "<!DOCTYPE html><html lang=\"ja\"><meta charset=\"utf-8\"><title>" << title << "</title>"
            << "<body style=\"font-family:sans-serif\"><h1>" << title << "</h1>";
        for (const Shot& s : m_shots)
            out << "<figure><img src=\"" << s.file << "\" width=\"960\"><figcaption>" << s.caption.toHtmlEscaped()
                << "</figcaption></figure>\n";
        out << "</body></html>\n";
    }

private:
    QString m_out;
    QString m_prefix;
    std::vector<Shot> m_shots;
};

void click(QAbstractButton* b)
{
    if (b && b->isVisible())
        b->click();
}

void typeKana(TF_Shutsudai& s, const QString& kana)
{
    for (const QChar c : kana) {
        for (int i = 1; i <= 80; ++i) {
            if (KanaChart[i - 1] == c && !isHiddenKanaButton(i)) {
                click(s.pickers()->kanjiButton(i));
                break;
            }
        }
    }
}

// Finds a kanji among the answer candidates and puts it in the answer, as a pupil does.
void pickKanji(TF_Shutsudai& s, const QString& kanji)
{
    click(s.pickers()->candidatesButton());
    for (int i = 1; i <= 80; ++i) {
        if (s.pickers()->kanjiButton(i)->isVisible() && s.pickers()->kanjiButton(i)->text() == kanji) {
            click(s.pickers()->kanjiButton(i));
            break;
        }
    }
    click(s.findChild<QPushButton*>(QStringLiteral("Btn_Cancel")));
}

// Writes strokes of a kanji on the pad with the mouse as a child's hand might: each stroke of
// the school order from its start to its end, a little wavy. `reversed` (from 1) is written
// the wrong way round and `skipped` (from 1) left out; only the first `count` strokes are
// written.
void writeOnPad(HandwritingPanel& pad, const std::vector<handwriting::ReferenceStroke>& strokes, int count,
                int reversed = 0, int skipped = 0)
{
    WritingSquare* square = pad.square();
    const double ux = (square->width() - 1) / 255.0;
    const double uy = (square->height() - 1) / 255.0;
    auto send = [square](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, square->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(square, &event);
    };
    for (int i = 0; i < count && i < int(strokes.size()); ++i) {
        if (i + 1 == skipped)
            continue;
        handwriting::Point from = strokes[std::size_t(i)].start;
        handwriting::Point to = strokes[std::size_t(i)].end;
        if (i + 1 == reversed)
            std::swap(from, to);
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        const double length = std::max(1.0, std::hypot(dx, dy));
        constexpr int Steps = 12;
        for (int k = 0; k <= Steps; ++k) {
            const double t = double(k) / Steps;
            const double wave = std::sin(t * 3.14159) * std::min(6.0, length / 12) * ((i % 2) ? 1 : -1);
            const QPointF at((from.x + dx * t - dy / length * wave) * ux, (from.y + dy * t + dx / length * wave) * uy);
            if (k == 0)
                send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            else
                send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
            if (k == Steps)
                send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        }
    }
}

// Candidate button of the pad holding `kanji`, or the best one.
QPushButton* candidateFor(HandwritingPanel& pad, const QString& kanji)
{
    for (int i = 1; i <= HandwritingPad::MaxCandidates; ++i) {
        if (pad.candidateButton(i)->isEnabled() && pad.candidateButton(i)->text() == kanji)
            return pad.candidateButton(i);
    }
    return pad.candidateButton(1);
}

// The stroke order of a kanji from Kakijun.dat, when the program folder has it: the pad's
// pictures need a hand to write with.
const std::vector<handwriting::ReferenceStroke>* strokesFor(Program& p, const QString& kanji)
{
    if (!QFile::exists(p.state.dataPath(QStringLiteral("Kakijun.dat"))))
        return nullptr;
    const handwriting::StrokeOrderTable* table = p.strokeOrder(nullptr);
    return table ? table->strokesOf(kanji) : nullptr;
}

void run(Tour& tour, ProgramServices& services, ManualClock& clock, bool shortTour)
{
    Program& p = services.program();
    StudyState& state = services.state();
    TF_Main& menu = services.mainMenu();

    if (!services.start())
        return;
    services.finishStart();
    tour.shoot(QStringLiteral("01-notice"), QStringLiteral("じゅんびちゅうのおしらせ（起動中）"), 50);
    menu.showScreen();
    menu.afterFirstPaint();
    tour.shoot(QStringLiteral("02-main-menu"), QStringLiteral("メインメニュー（漢字が動いているところ）"), 3000);
    if (shortTour) {
        menu.commandClick(5);
        if (auto* selection = topLevel<TF_Player>()) {
            tour.shoot(QStringLiteral("03-selection"), QStringLiteral("べんきょうする人をえらぶ"));
            selection->Lbl_PlayerClick(1);
        }
        tour.shoot(QStringLiteral("04-mode-menu"), QStringLiteral("モードメニュー"));
        if (auto* mode = topLevel<TF_Mode>())
            mode->Lbl_Command1Click(3);
        if (auto* session = topLevel<TF_Shutsudai>()) {
            session->btn_NextClick();
            tour.shoot(QStringLiteral("05-writing"), QStringLiteral("書くもんだい"));
        }
        return;
    }

    p.help.showTopic(31);
    tour.shoot(QStringLiteral("03-help"), QStringLiteral("ヘルプ"));
    // The topics whose lists and rules a child reads closely.
    for (const auto& [topic, name, caption] : {std::tuple{30, "03a-help-hints", "ヘルプ（ヒントの見かた）"},
                                               std::tuple{36, "03b-help-scoring", "ヘルプ（まるつけ）"},
                                               std::tuple{37, "03c-help-review", "ヘルプ（ふくしゅう）"},
                                               std::tuple{39, "03d-help-catcher", "ヘルプ（かんじキャッチャー）"}}) {
        p.help.showTopic(topic);
        tour.shoot(QString::fromUtf8(name), QString::fromUtf8(caption));
    }
    if (QWidget* help = services.helpWindow().window())
        help->close();
    tour.shootModal(QStringLiteral("04-hint"), QStringLiteral("ヒント（メインメニュー）"), [&] { state.OpenHint(); });
    tour.shootModal(QStringLiteral("05-settings"), QStringLiteral("せってい"), [&] { p.navigator->openSettings(&menu); });

    // Registration.
    menu.commandClick(7);
    if (auto* reg = topLevel<TF_Touroku>()) {
        for (const int k : {38, 3, 7})
            reg->Btn_MojiClick(k);
        tour.shoot(QStringLiteral("06-registration"), QStringLiteral("なまえのとうろく"));
        for (const int k : {1, 2})
            reg->Btn_MojiClick(k);
        tour.shootModal(QStringLiteral("07-name-too-long"), QStringLiteral("なまえが長すぎるとき"), [&] { reg->Btn_MojiClick(4); });
        reg->headerCommand(4);
    }

    // Selection and the mode menu of はなこ.
    menu.commandClick(5);
    auto* selection = topLevel<TF_Player>();
    if (!selection)
        return;
    tour.shoot(QStringLiteral("08-selection"), QStringLiteral("べんきょうする人をえらぶ"));
    selection->Lbl_PlayerClick(1);
    auto* mode = topLevel<TF_Mode>();
    if (!mode)
        return;
    tour.shoot(QStringLiteral("09-mode-menu"), QStringLiteral("モードメニュー（ほしの数、きょうの　ふくしゅう）"));

    // ふくしゅう: ten learned kanji that are fading, asked again; then left.
    if (mode->reviewButton()->isVisible()) {
        mode->Btn_FukushuuClick();
        if (auto* session = topLevel<TF_Shutsudai>()) {
            tour.shoot(QStringLiteral("09a-review-ready"), QStringLiteral("ふくしゅう（はじめる前）"));
            session->btn_NextClick();
            tour.shoot(QStringLiteral("09b-review-question"), QStringLiteral("ふくしゅう（おぼえた　かんじを　もういちど）"));
            tour.answerAll([&] { session->headerCommand(4); });
        }
        mode = topLevel<TF_Mode>();
        if (!mode)
            return;
    }

    // A reading practice at level 1: the questions, scoring, review and result.
    mode->Lbl_Command1Click(4);
    if (auto* levels = topLevel<TF_Renshuu>()) {
        tour.shoot(QStringLiteral("10-practice-levels"), QStringLiteral("れんしゅうのレベルえらび"));
        state.CurrentLevel = 1;
        state.StudyMode = 1;
        state.RedoRound = false;
        levels->close();
        p.navigator->show(Screen::QuestionSession);
    }
    if (auto* session = topLevel<TF_Shutsudai>()) {
        tour.shoot(QStringLiteral("11-session-ready"), QStringLiteral("もんだいの前（はじめ）"));
        session->btn_NextClick();
        typeKana(*session, state.QuizSet[1].Answer.toUnicode().left(1));
        tour.shoot(QStringLiteral("12-reading-question"), QStringLiteral("読むもんだい（かなのひょう）"));
        typeKana(*session, state.QuizSet[1].Answer.toUnicode().mid(1));
        for (int q = 1; q <= 10; ++q) {
            if (q > 1)
                typeKana(*session, q == 4 || q == 8 ? QStringLiteral("ぬ") : state.QuizSet[q].Answer.toUnicode());
            if (q < 10)
                session->btn_NextClick();
        }
        tour.shootModal(QStringLiteral("13-finish-question"), QStringLiteral("１０もんおわったとき"), [&] { session->btn_NextClick(); });
        if (auto* scoring = topLevel<TF_Saiten>()) {
            for (int i = 0; i < 6; ++i)
                scoring->Tim_SaitenTimer();
            tour.shoot(QStringLiteral("14-scoring"), QStringLiteral("まるつけ（とちゅう）"));
            for (int i = 0; i < 4; ++i)
                scoring->Tim_SaitenTimer();
            tour.shoot(QStringLiteral("15-scoring-done"), QStringLiteral("まるつけ（さいご）"));
            scoring->Tim_SaitenTimer();
        }
        tour.shoot(QStringLiteral("16-review"), QStringLiteral("まちがえたもんだいのふくしゅう"));
        typeKana(*session, QStringLiteral("あ"));
        session->btn_awaseClick();
        tour.shoot(QStringLiteral("16a-review-wrong"), QStringLiteral("ふくしゅう（まちがえたとき）"), 150);
        tour.wait(MarkMilliseconds);
        typeKana(*session, state.QuizSet[4].Answer.toUnicode());
        session->btn_awaseClick();
        tour.shoot(QStringLiteral("16b-review-right"), QStringLiteral("ふくしゅう（あっていたとき）"), 150);
        tour.wait(MarkMilliseconds);
        typeKana(*session, state.QuizSet[8].Answer.toUnicode());
        tour.answerAll([&] {
            session->btn_awaseClick();
            tour.wait(2 * MarkMilliseconds);
        }, true, QStringLiteral("17-result"), QStringLiteral("けっか"));
    }

    // A writing challenge at はなこ's step: the three routes to a kanji.
    mode = topLevel<TF_Mode>();
    if (mode)
        mode->Lbl_Command1Click(3);
    if (auto* session = topLevel<TF_Shutsudai>()) {
        session->btn_NextClick();
        tour.shoot(QStringLiteral("18-writing-groups"), QStringLiteral("書くもんだい（ぶしゅのなかま）"));
        const KanjiEntry& k = state.KanjiTable[state.QuizSet[1].KanjiNo];
        click(session->pickers()->radicalButton(k.Component1Group));
        tour.shoot(QStringLiteral("19-writing-parts"), QStringLiteral("書くもんだい（ぶしゅ）"));
        click(session->pickers()->partButton(k.Component1No));
        tour.shoot(QStringLiteral("20-writing-kanji"), QStringLiteral("書くもんだい（そのぶしゅのかんじ）"));
        click(session->findChild<QPushButton*>(QStringLiteral("Btn_Cancel")));
        click(session->findChild<QPushButton*>(QStringLiteral("Btn_Cancel")));
        click(session->pickers()->strokeButton(k.StrokeCount));
        tour.shoot(QStringLiteral("21-writing-strokes"), QStringLiteral("書くもんだい（かくすう）"));
        click(session->findChild<QPushButton*>(QStringLiteral("Btn_Cancel")));
        click(session->pickers()->candidatesButton());
        tour.shoot(QStringLiteral("22-writing-candidates"), QStringLiteral("書くもんだい（こたえのこうほ）"));
        // The pad: half a kanji written, its candidates beside it.
        click(session->findChild<QPushButton*>(QStringLiteral("Btn_Cancel")));
        const QString kanji = k.Glyph.toUnicode();
        HandwritingPanel* pad = session->handwriting();
        const auto* strokes = strokesFor(p, kanji);
        if (pad && strokes) {
            pad->openButton()->click();
            tour.shoot(QStringLiteral("22a-pad-open"), QStringLiteral("てがき（ひらいたところ）"));
            writeOnPad(*pad, *strokes, std::max(1, int(strokes->size()) - 2));
            tour.shoot(QStringLiteral("22b-pad-writing"), QStringLiteral("てがき（かいているところ）"));
            pad->clearButton()->click();
            writeOnPad(*pad, *strokes, int(strokes->size()));
            click(candidateFor(*pad, kanji));
            tour.shoot(QStringLiteral("22c-pad-chosen"), QStringLiteral("てがき（こうほをえらんだところ）"));
        }
        state.HintSection = 2;
        tour.shootModal(QStringLiteral("23-hint-session"), QStringLiteral("ヒント（もんだい中）"), [&] { session->headerCommand(1); });
        // Its third page, on stroke counts.
        QTimer::singleShot(200, [&] {
            if (QWidget* hint = QApplication::activeModalWidget()) {
                if (auto* next = hint->findChild<QPushButton*>(QStringLiteral("Btn_Next"))) {
                    next->click();
                    next->click();
                }
            }
        });
        tour.shootModal(QStringLiteral("23a-hint-strokes"), QStringLiteral("ヒント（かくすう）"), [&] { session->headerCommand(1); });
        tour.shootModal(QStringLiteral("24-quit"), QStringLiteral("がくしゅうをやめるとき"), [&] { session->headerCommand(4); });
    }

    // A writing practice: the stroke order of the pupil's writing, the diagram on request, and
    // the review that shows the stroke order after a wrong try.
    mode = topLevel<TF_Mode>();
    if (mode) {
        state.CurrentLevel = 2;
        state.StudyMode = 2;
        state.SessionKind = false;
        state.RedoRound = false;
        p.navigator->show(Screen::QuestionSession);
    }
    if (auto* session = topLevel<TF_Shutsudai>()) {
        session->btn_NextClick();
        const QString kanji = state.KanjiTable[state.QuizSet[1].KanjiNo].Glyph.toUnicode();
        HandwritingPanel* pad = session->handwriting();
        const auto* strokes = strokesFor(p, kanji);
        if (pad && strokes) {
            pad->openButton()->click();
            // The longest stroke written backwards.
            int longest = 1;
            double best = 0;
            for (int i = 0; i < int(strokes->size()); ++i) {
                const auto& r = (*strokes)[std::size_t(i)];
                const double length = std::hypot(r.end.x - r.start.x, r.end.y - r.start.y);
                if (length > best) {
                    best = length;
                    longest = i + 1;
                }
            }
            writeOnPad(*pad, *strokes, int(strokes->size()), longest);
            click(candidateFor(*pad, kanji));
            tour.shoot(QStringLiteral("24a-practice-stroke-order"), QStringLiteral("れんしゅう：かきじゅんの　ひとこと"));
            click(pad->strokeOrderButton());
            tour.shoot(QStringLiteral("24b-practice-diagram"), QStringLiteral("れんしゅう：かきじゅんの　ずを　よこに"));
            click(pad->strokeOrderButton());
            // The coach: the kanji written with its second stroke left out, and checked.
            click(session->findChild<QPushButton*>(QStringLiteral("Btn_Delall")));
            writeOnPad(*pad, *strokes, int(strokes->size()), 0, 2);
            click(pad->checkButton());
            tour.shoot(QStringLiteral("24b2-practice-coach"), QStringLiteral("れんしゅう：たりない　かくを　おしえる"));
            pad->clearButton()->click();
            writeOnPad(*pad, *strokes, int(strokes->size()));
            click(candidateFor(*pad, kanji));
        }
        // Question 3 wrong, the others right (the pad's reading of question 1 put right if need be).
        for (int q = 1; q <= 10; ++q) {
            const QString answer = state.KanjiTable[state.QuizSet[q].KanjiNo].Glyph.toUnicode();
            if (q == 1 && session->answerText() != answer) {
                click(session->findChild<QPushButton*>(QStringLiteral("Btn_Delall")));
                click(session->findChild<QPushButton*>(QStringLiteral("Btn_Cancel")));
                pickKanji(*session, answer);
            }
            if (q > 1)
                pickKanji(*session, q == 3 ? state.KanjiTable[state.QuizSet[q].KanjiNo + 1].Glyph.toUnicode() : answer);
            if (q < 10)
                session->btn_NextClick();
        }
        tour.answerAll([&] { session->btn_NextClick(); });
        if (auto* scoring = topLevel<TF_Saiten>()) {
            for (int i = 0; i < 11; ++i)
                scoring->Tim_SaitenTimer();
        }
        const QString wrong = state.KanjiTable[state.QuizSet[3].KanjiNo + 2].Glyph.toUnicode();
        tour.answerAll([&] {
            pickKanji(*session, wrong);
            session->btn_awaseClick();
            tour.wait(2 * MarkMilliseconds);
        });
        tour.shoot(QStringLiteral("24c-review-diagram"), QStringLiteral("ふくしゅう：まちがえたあとの　かきじゅん（パッドの　よこ）"));
        if (HandwritingPanel* pad = session->handwriting())
            click(pad->strokeOrderButton());
        tour.shoot(QStringLiteral("24d-review-answer"), QStringLiteral("ふくしゅう：こたえを　おしえたところ"));
        tour.answerAll([&] {
            pickKanji(*session, state.KanjiTable[state.QuizSet[3].KanjiNo].Glyph.toUnicode());
            session->btn_awaseClick();
            tour.wait(2 * MarkMilliseconds);
        });
    }

    // The matching game, played to its table.
    mode = topLevel<TF_Mode>();
    if (mode)
        mode->Lbl_GameClick(1);
    if (auto* game = topLevel<TF_Game1>()) {
        tour.shoot(QStringLiteral("25-matching-start"), QStringLiteral("かんじあわせゲーム"));
        game->Btn_StartClick();
        const MatchingGame& g = game->game();
        while (!g.playerTurn() && !g.finished())
            game->Timer1Timer();
        int a = 0, b = 0;
        for (int i = 1; i <= 36 && !b; ++i)
            for (int j = i + 1; j <= 36 && !b; ++j)
                if (g.card(i) == MatchingGame::Card::FaceDown && g.card(j) == MatchingGame::Card::FaceDown
                    && g.cardKanji(i) != g.cardKanji(j))
                    a = i, b = j;
        game->Btn_EClick(a);
        game->Btn_EClick(b);
        tour.shoot(QStringLiteral("26-matching-turned"), QStringLiteral("かんじあわせゲーム（カードをめくったところ）"));
        game->Timer1Timer();
        tour.shoot(QStringLiteral("27-matching-computer"), QStringLiteral("かんじあわせゲーム（コンピュータのばん）"));
        tour.answerAll([&] {
            for (int step = 0; step < 4000 && topLevel<TF_Game1>() && !g.finished(); ++step) {
                if (!g.playerTurn()) {
                    game->Timer1Timer();
                    continue;
                }
                int x = 0, y = 0;
                for (int i = 1; i <= 36 && !y; ++i)
                    for (int j = i + 1; j <= 36 && !y; ++j)
                        if (g.card(i) == MatchingGame::Card::FaceDown && g.card(j) == MatchingGame::Card::FaceDown
                            && g.cardKanji(i) == g.cardKanji(j))
                            x = i, y = j;
                game->Btn_EClick(x);
                game->Btn_EClick(y);
            }
        }, true, QStringLiteral("28-matching-table"), QStringLiteral("かんじあわせゲームのきろく"));
    }

    // The catcher game, played until time is up.
    mode = topLevel<TF_Mode>();
    if (mode)
        mode->Lbl_GameClick(3);
    if (auto* catcher = topLevel<TF_Game3>()) {
        tour.shoot(QStringLiteral("29-catcher-start"), QStringLiteral("かんじキャッチャーゲーム"));
        catcher->Btn_StartClick();
        {
            // The tour's clock stands still unless moved; let the game's time run for real.
            QTimer ticking;
            QObject::connect(&ticking, &QTimer::timeout, [&clock] { clock.advanceSeconds(0.1); });
            ticking.start(100);
            tour.shoot(QStringLiteral("30-catcher-play"), QStringLiteral("かんじキャッチャーゲーム（あそんでいるところ）"), 6000);
        }
        catcher->Timer1().stop();
        clock.advanceSeconds(120);
        tour.answerAll([&] {
            for (int i = 0; i < 40 && topLevel<TF_Game3>(); ++i)
                catcher->Timer1Timer();
        }, true, QStringLiteral("31-catcher-table"), QStringLiteral("かんじキャッチャーゲームのきろく"));
    }

    // The per-kanji grades and the kanji board.
    mode = topLevel<TF_Mode>();
    if (mode)
        mode->Lbl_Command1Click(2);
    if (auto* grades = topLevel<TF_KSeiseki1>()) {
        tour.shoot(QStringLiteral("32-kanji-grades"), QStringLiteral("かんじごとのせいせき"));
        grades->headerCommand(4);
    }
    mode = topLevel<TF_Mode>();
    if (mode)
        mode->Lbl_Command1Click(1);
    if (auto* board = topLevel<TF_K_ichiran>()) {
        tour.shoot(QStringLiteral("33-board"), QStringLiteral("かんじのいちらん（はじめ）"));
        board->BtnClick(1);
        tour.shoot(QStringLiteral("34-board-moving"), QStringLiteral("かんじのいちらん（ならんでいくところ）"), 2500);
        tour.shoot(QStringLiteral("35-board-sorted"), QStringLiteral("かんじのいちらん（ならんだところ）"), 5000);
        const KanjiBoard& kanjiBoard = board->board();
        const QPoint slot = QRect(kanjiBoard.cellTopLeft(3), kanjiBoard.cellSize()).center();
        tour.shootModal(QStringLiteral("35a-board-diagram"), QStringLiteral("かんじのいちらん（かきじゅん）"),
                        [&] { board->Img_KanjiClick(slot); });
        board->headerCommand(4);
    }

    // The grades of everyone, and はなこ's history.
    mode = topLevel<TF_Mode>();
    if (mode)
        mode->headerCommand(4);
    if (auto* again = topLevel<TF_Player>())
        again->headerCommand(4);
    menu.commandClick(6);
    if (auto* overview = topLevel<TF_Seiseki1>()) {
        tour.shoot(QStringLiteral("36-grades"), QStringLiteral("みんなのせいせき"));
        overview->Grd_SeisekiClick(1);
    }
    if (auto* history = topLevel<TF_Seiseki2>()) {
        tour.shoot(QStringLiteral("37-history"), QStringLiteral("がくしゅうのきろく"));
        history->Btn_NextClick();
        tour.shoot(QStringLiteral("38-history-next"), QStringLiteral("がくしゅうのきろく（次のページ）"));
        history->headerCommand(4);
    }
    if (auto* overview = topLevel<TF_Seiseki1>())
        overview->headerCommand(4);
    tour.shootModal(QStringLiteral("38a-parents"), QStringLiteral("おうちの方のページ（子どもの登録を変える、覚えている漢字）"), [&] {
        TF_Kanri page(p, &menu);
        page.exec();
    });
    tour.shootModal(QStringLiteral("38b-parents-chart"), QStringLiteral("おうちの方のページ（ぜんぶ終えて、わすれていく子）"), [&] {
        TF_Kanri page(p, &menu);
        page.pupilList()->setCurrentRow(2);
        page.exec();
    });
    tour.shoot(QStringLiteral("39-main-menu-again"), QStringLiteral("メインメニュー（もどったところ）"), 1000);
    menu.commandClick(8);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: mojimaru_tour <output folder> [prefix] [--short]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString prefix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool shortTour = argc > 3 && QByteArray(argv[3]) == "--short";

    PreparedDisplay display = prepareDisplay(argc, argv);
    const ScreenInfo screen = display.screen;
    QApplication app(argc, argv);
    display.probe.reset();
    setUpApplication();
    QTemporaryDir folder;
    ManualClock clock(daynumber::fromDateTime(QDateTime::currentDateTime()));
    try {
        prepareDemoFolder(QStringLiteral(MOJIMARU_PROGRAM_DIR), folder.path(), clock);
    } catch (const DataError& e) {
        std::fprintf(stderr, "tour: %s\n", e.what());
        return 1;
    }
    ProgramServices services(folder.path(), folder.filePath(QStringLiteral("Mojimaru.ini")), screen, &clock);
    Tour tour(out, prefix);
    run(tour, services, clock, shortTour);
    tour.writeIndex(QStringLiteral("もじまる　がめんのいちらん"));
    return 0;
}
