#include "randomplayer.h"

#include "clickablelabel.h"
#include "clock.h"
#include "desktop.h"
#include "filestore.h"
#include "program.h"
#include "records.h"
#include "screenframe.h"
#include "studystate.h"
#include "tf_saiten.h"
#include "tf_shutsudai.h"
#include "wordbreaks.h"
#include "writingsquare.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <cstdio>

using namespace moji;

namespace testing_support {

namespace {

constexpr int SettleLimitMs = 3000; // how long the program may take to settle after an action
constexpr int WarmUpActions = 100;
constexpr int ToolTimeoutMs = 1000;
constexpr int ScoringLimitMs = 30000; // ten rows of 1.5 s, and the result, with room to spare

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : 0;
}

QString describe(const QWidget* w)
{
    QString name = w->objectName();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w); b && !b->text().isEmpty())
        name += QLatin1Char('"') + withoutWordJoiners(b->text()) + QLatin1Char('"');
    else if (const auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty())
        name += QLatin1Char('"') + withoutWordJoiners(l->text()).left(12) + QLatin1Char('"');
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + name;
}

bool isErrorBox(const QWidget* box)
{
    const auto* message = qobject_cast<const QMessageBox*>(box);
    return message && (message->icon() == QMessageBox::Critical || message->text().contains(QStringLiteral("エラー")));
}

} // namespace

void PlayLog::action(const QString& what)
{
    std::lock_guard guard(m_lock);
    ++actions;
    m_last.push_back(QStringLiteral("%1 %2").arg(actions).arg(what));
    // MOJIMARU_PLAYER_VERBOSE shows every action as it happens.
    static const bool verbose = qEnvironmentVariableIsSet("MOJIMARU_PLAYER_VERBOSE");
    if (verbose)
        std::printf("%s\n", qPrintable(m_last.back()));
    if (m_last.size() > 20)
        m_last.pop_front();
}

QStringList PlayLog::lastActions() const
{
    std::lock_guard guard(m_lock);
    return {m_last.begin(), m_last.end()};
}

RandomPlayer::RandomPlayer(PlayLog& log, QString recordsFolder, QString otherWindowTitle, qint64 endAtMs)
    : m_log(log), m_records(std::move(recordsFolder)), m_otherTitle(std::move(otherWindowTitle)), m_endAt(endAtMs),
      m_random(log.seed + quint32(log.starts) * 7919u)
{
    m_step.setSingleShot(true);
    connect(&m_step, &QTimer::timeout, this, &RandomPlayer::step);
    // The event loop answers as long as this ticks, inside boxes too.
    m_heartbeat.setInterval(100);
    connect(&m_heartbeat, &QTimer::timeout, this, [this] { m_log.heartbeat = QDateTime::currentMSecsSinceEpoch(); });
}

void RandomPlayer::start()
{
    m_log.memoryAtStarts << residentBytes();
    m_log.heartbeat = QDateTime::currentMSecsSinceEpoch();
    m_log.watching = true;
    m_heartbeat.start();
    m_phase = Phase::Settle;
    m_settling.start();
    m_step.start(300);
}

void RandomPlayer::step()
{
    if (!m_log.failure.isEmpty())
        return;
    if (m_phase == Phase::Settle) {
        const QString wrong = check();
        if (!wrong.isEmpty()) {
            if (m_settling.elapsed() > SettleLimitMs)
                fail(wrong);
            else
                m_step.start(100);
            return;
        }
        if (m_expect != Expect::OnView) {
            // Minimised or behind another program: the child brings it back (a task bar).
            bringBack();
            m_settling.start();
            m_step.start(200);
            return;
        }
        if (m_log.actions == WarmUpActions)
            m_log.memoryAfterWarmUp = residentBytes();
        if (m_log.actions > WarmUpActions)
            m_log.memoryHighest = std::max(m_log.memoryHighest, residentBytes());
        if (m_log.actions % 500 == 0 && (m_log.memorySamples.isEmpty() || m_log.memorySamples.back().first != m_log.actions))
            m_log.memorySamples.append({m_log.actions, residentBytes()});
        if (QDateTime::currentMSecsSinceEpoch() >= m_endAt) {
            QApplication::exit(0);
            return;
        }
        m_phase = Phase::Act;
    }
    act();
    m_phase = Phase::Settle;
    m_settling.start();
    // A child does not wait for the screen to finish what it started.
    m_step.start(60 + m_random.Random(300));
}

void RandomPlayer::act()
{
    QWidget* front = frontWindow();
    if (!front) {
        m_log.action(QStringLiteral("wait (nothing on view)"));
        return;
    }
    auto* screen = qobject_cast<ScreenFrame*>(front);
    const bool box = QApplication::activeModalWidget() == front;
    const QList<QWidget*> controls = controlsOf(front);
    QWidget* pad = nullptr;
    for (QWidget* c : controls)
        pad = qobject_cast<WritingSquare*>(c) ? c : pad;

    const int roll = m_random.Random(100);
    if (auto* session = qobject_cast<TF_Shutsudai*>(front); session && !box && roll < 30) {
        answerLikeAChild(session);
    } else if (pad && roll < 15) {
        drawOnPad(pad);
    } else if (roll < 70 && !controls.isEmpty()) {
        clickWidget(controls[m_random.Random(int(controls.size()))], m_random.Random(4) == 0);
    } else if (roll < 76) {
        clickWidget(front, true);
    } else if (roll < 80) {
        static const char* const pressed[] = {"Return", "Escape", "space", "BackSpace", "Tab", "a", "1"};
        keys(QString::fromLatin1(pressed[m_random.Random(7)]));
    } else if (roll < 84 && screen && !box) {
        // The program's own button, when the screen has it and nothing covers it.
        QWidget* button = screen->findChild<QWidget*>(QStringLiteral("Img_Button3"));
        if (!button || !button->isVisible())
            button = screen->findChild<QWidget*>(QStringLiteral("Img_Command3"));
        if (button && button->isVisible() && button->isEnabled() && !helpWindowShown())
            clickWidget(button, false);
    } else if (roll < 89) {
        m_log.action(QStringLiteral("Alt+F4 on ") + describe(front));
        tool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QString::number(front->winId())});
        keys(QStringLiteral("alt+F4"));
    } else if (roll < 92) {
        m_log.action(QStringLiteral("another program in front"));
        tool(QStringLiteral("wmctrl"), {QStringLiteral("-a"), m_otherTitle});
        m_expect = Expect::Behind;
    } else if (roll < 96 && screen && !box) {
        // Hints, help or back, the header a child finds first.
        const int tag = 1 + m_random.Random(4);
        if (auto* header = screen->findChild<QWidget*>(QStringLiteral("Img_Button%1").arg(tag)); header && header->isVisible())
            clickWidget(header, false);
    } else {
        m_log.action(QStringLiteral("wait"));
        m_step.start(500 + m_random.Random(2500));
    }
}

bool RandomPlayer::helpWindowShown()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("HelpWindow") && w->isVisible() && !w->isMinimized())
            return true;
    }
    return false;
}

void RandomPlayer::answerLikeAChild(TF_Shutsudai* session)
{
    // Now and then the child knows a reading and types it on the chart; then on to the next
    // question, or the check in the review, so that sessions get scored and reviewed.
    const StudyState& state = session->program().state;
    const int q = session->currentQuestion();
    if (q >= 1 && q <= 10 && state.StudyMode == 1 && m_random.Random(3) > 0) {
        const QString answer = state.QuizSet[q].Answer.toUnicode();
        m_log.action(QStringLiteral("type %1 on the chart").arg(answer));
        const QList<QPushButton*> buttons = session->findChildren<QPushButton*>();
        for (const QChar c : answer) {
            for (QPushButton* b : buttons) {
                if (b->isVisible() && b->isEnabled() && b->text() == c) {
                    clickAt(QPointF(b->mapToGlobal(b->rect().center())) * b->devicePixelRatioF());
                    break;
                }
            }
        }
    }
    for (const char* name : {"Btn_Next", "Btn_awase"}) {
        auto* go = session->findChild<QPushButton*>(QLatin1String(name));
        if (go && go->isVisible() && go->isEnabled()) {
            clickWidget(go, false);
            return;
        }
    }
}

QWidget* RandomPlayer::frontWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        return modal;
    // The help window stands above the screens; a child uses it now and then.
    QWidget* screen = nullptr;
    QWidget* other = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->isMinimized() || w->windowType() == Qt::ToolTip)
            continue;
        if (qobject_cast<ScreenFrame*>(w))
            screen = w;
        else if (w->objectName() == QLatin1String("HelpWindow"))
            other = w;
    }
    return other && m_random.RandomReal() < 0.3 ? other : screen;
}

QList<QWidget*> RandomPlayer::controlsOf(QWidget* window) const
{
    const QRect visible = window->screen() ? window->screen()->geometry() : QRect();
    QList<QWidget*> found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled() || !w->window()->isVisible())
            continue;
        const bool clickable = qobject_cast<QAbstractButton*>(w) || qobject_cast<ClickableLabel*>(w)
                               || qobject_cast<WritingSquare*>(w) || qobject_cast<QAbstractItemView*>(w);
        if (clickable && visible.intersects(QRect(w->mapToGlobal(QPoint(0, 0)), w->size())))
            found << w;
    }
    return found;
}

void RandomPlayer::tool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(ToolTimeoutMs))
        p.kill();
    p.waitForFinished(500);
}

void RandomPlayer::clickAt(QPointF at)
{
    tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(qRound(at.x())), QString::number(qRound(at.y())),
                                     QStringLiteral("click"), QStringLiteral("1")});
}

void RandomPlayer::clickWidget(QWidget* w, bool anywhere)
{
    QPoint local = w->rect().center();
    if (anywhere)
        local = QPoint(m_random.Random(std::max(1, w->width())), m_random.Random(std::max(1, w->height())));
    m_log.action(QStringLiteral("click %1 at %2,%3").arg(describe(w)).arg(local.x()).arg(local.y()));
    // Whatever lies there gets the click; the program's own minimise button minimises it.
    const QWidget* hit = QApplication::widgetAt(w->mapToGlobal(local));
    if (hit && (hit->objectName() == QLatin1String("Img_Button3") || hit->objectName() == QLatin1String("Img_Command3"))
        && qobject_cast<ScreenFrame*>(hit->window()))
        m_expect = Expect::Minimised;
    clickAt(QPointF(w->mapToGlobal(local)) * w->devicePixelRatioF());
}

void RandomPlayer::drawOnPad(QWidget* pad)
{
    // Small and in a corner as often as across the square, one to three strokes.
    const double size = m_random.Random(2) ? 0.4 : 0.9;
    const double left = (1 - size) * m_random.RandomReal();
    const double top = (1 - size) * m_random.RandomReal();
    const int strokes = 1 + m_random.Random(3);
    m_log.action(QStringLiteral("write %1 strokes on the pad, %2 of its size").arg(strokes).arg(size));
    for (int s = 0; s < strokes; ++s) {
        QStringList args;
        for (int p = 0; p < 6; ++p) {
            const QPointF local(pad->width() * (left + size * m_random.RandomReal()), pad->height() * (top + size * m_random.RandomReal()));
            const QPointF at = QPointF(pad->mapToGlobal(local.toPoint())) * pad->devicePixelRatioF();
            args << QStringLiteral("mousemove") << QString::number(qRound(at.x())) << QString::number(qRound(at.y()));
            if (p == 0)
                args << QStringLiteral("mousedown") << QStringLiteral("1");
            args << QStringLiteral("sleep") << QStringLiteral("0.02");
        }
        args << QStringLiteral("mouseup") << QStringLiteral("1");
        tool(QStringLiteral("xdotool"), args);
    }
}

void RandomPlayer::keys(const QString& key)
{
    if (key != QLatin1String("alt+F4"))
        m_log.action(QStringLiteral("key ") + key);
    tool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
}

void RandomPlayer::bringBack()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<ScreenFrame*>(w) && w->isVisible()) {
            m_log.action(QStringLiteral("back from the task bar: ") + describe(w));
            tool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-a"), QString::number(w->winId())});
            break;
        }
    }
    m_expect = Expect::OnView;
}

QString RandomPlayer::check()
{
    QList<QWidget*> onView;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<ScreenFrame*>(w) && w->isVisible())
            onView << w;
    }
    QWidget* box = QApplication::activeModalWidget();
    if (box && box->isVisible()) {
        const auto* message = qobject_cast<const QMessageBox*>(box);
        m_log.boxesSeen << (message ? withoutWordJoiners(message->text()).simplified() : QString::fromLatin1(box->metaObject()->className()));
        if (isErrorBox(box))
            return QStringLiteral("an error box: ") + withoutWordJoiners(message->text());
    }
    if (onView.size() != 1)
        return QStringLiteral("%1 screens on view").arg(onView.size());
    QWidget* screen = onView.front();
    m_log.screensReached << QString::fromLatin1(screen->metaObject()->className()).remove(QStringLiteral("moji::"));
    // The one screen that goes on by itself must do so, however the child clicks about.
    // (A box over it holds it up, as it should: the time counts from the last box.)
    if (screen != m_scoring || (box && box->isVisible())) {
        m_scoring = qobject_cast<TF_Saiten*>(screen) ? screen : nullptr;
        m_scoringSince.start();
    } else if (m_scoring && m_scoringSince.elapsed() > ScoringLimitMs) {
        return QStringLiteral("the scoring screen held the child for %1 s").arg(ScoringLimitMs / 1000);
    }
    const QString state = managedState(screen->winId());
    if (m_expect == Expect::Minimised) {
        if (state != QLatin1String("Iconic"))
            return QStringLiteral("the screen was not minimised by its own button: ") + state;
    } else if (state != QLatin1String("Normal") || screen->isMinimized()) {
        return QStringLiteral("the screen on view is not on the screen (window manager: %1, Qt: %2)")
            .arg(state.isEmpty() ? QStringLiteral("not managed") : state, screen->isMinimized() ? QStringLiteral("minimised") : QStringLiteral("shown"));
    } else if (box && box->isVisible() && managedState(box->winId()) != QLatin1String("Normal")) {
        return QStringLiteral("a box is not on the screen over its screen");
    }
    return checkRecords();
}

QString RandomPlayer::checkRecords()
{
    const QDir folder(m_records);
    qint64 records = 0;
    try {
        const auto roster = filestore::readRecords<PlayerRecord>(folder.filePath(QStringLiteral("Player1.dat")), QStringLiteral("Player1.dat"));
        ManualClock clock(46364.0);
        const StudyState reader(folder.path(), clock);
        for (int n = 1; n <= int(roster.size()); ++n) {
            records += qint64(reader.ReadHistory(n).size());
            (void)reader.ReadRecentQuestions(n);
        }
        for (const QString& backup : folder.entryList({QStringLiteral("Kiroku-*.bak")}, QDir::Files))
            records += qint64(filestore::readRecords<HistoryRecord>(folder.filePath(backup), backup).size());
        for (const char* table : {"Game1.dat", "Game13.dat"}) {
            const QString path = folder.filePath(QLatin1String(table));
            if (filestore::exists(path))
                (void)filestore::readRecords<GameScoreRecord>(path, QLatin1String(table));
        }
    } catch (const DataError& e) {
        return QStringLiteral("a records file does not read back: ") + errorReportText(e);
    }
    if (records < m_log.historyRecords)
        return QStringLiteral("the histories lost records: %1 before, %2 now").arg(m_log.historyRecords).arg(records);
    m_log.historyRecords = records;
    return {};
}

void RandomPlayer::fail(const QString& why)
{
    m_log.failure = why;
    m_log.watching = false;
    const QString shot = QDir(m_records).filePath(QStringLiteral("../random-player-failure.png"));
    if (QScreen* s = QGuiApplication::primaryScreen())
        s->grabWindow(0).save(shot);
    std::fprintf(stderr, "\nThe random player found a fault after %d actions (seed %u): %s\nThe last actions:\n  %s\nScreenshot: %s\n",
                 m_log.actions, m_log.seed, qPrintable(why), qPrintable(m_log.lastActions().join(QStringLiteral("\n  "))),
                 qPrintable(QDir::cleanPath(shot)));
    QApplication::exit(1);
}

} // namespace testing_support
