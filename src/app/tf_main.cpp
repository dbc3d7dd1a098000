#include "tf_main.h"

#include "errors.h"
#include "hintcontext.h"
#include "picturebutton.h"
#include "program.h"
#include "randomsource.h"
#include "recordslock.h"
#include "startuploader.h"
#include "startuptrace.h"
#include "studystate.h"
#include "tf_pop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>

#include <cmath>

namespace moji {

namespace {

constexpr int MenuHelpTopic = 31;
constexpr int TickMilliseconds = 200;
const QRect BoardRect(20, 96, 600, 360);

// Command k shows header picture 1, 2, 3, 8, 5, 6, 7, 4.
constexpr int CommandPicture[8] = {1, 2, 3, 8, 5, 6, 7, 4};
const char* const CommandTips[8] = {"ヒントを見る", "ヘルプを見る", "アイコンにする", "せっていをかえる",
                                    "べんきょうをする", "せいせきを見る", "とうろくをする", "もじまるのおわり"};

// The navy board the kanji drift across, drawn straight from the animation each tick at the
// screen's own resolution: no picture of its own to keep, copy and scale up on every frame.
class MenuBoard final : public QWidget {
public:
    MenuBoard(const std::unique_ptr<MenuAnimation>& animation, const double& scale, QWidget* parent)
        : QWidget(parent), m_animation(animation), m_scale(scale)
    {
        setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted below
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), ScreenFrame::Navy);
        if (!m_animation)
            return;
        const QSize sprite(int(24 * m_scale + 0.5), int(30 * m_scale + 0.5));
        QFont f = font();
        f.setPointSizeF(20 * m_scale);
        p.setFont(f);
        for (int i = 0; i < m_animation->usedSlots(); ++i) {
            const TKanji_State& s = m_animation->slot(i);
            if (!s.HasPicture)
                continue;
            // The glyph at its top left, clipped to its sprite's cell.
            const QRect cell(s.X, s.Y, sprite.width(), sprite.height());
            p.save();
            p.setClipRect(cell);
            p.setPen(s.Colour);
            p.drawText(cell, Qt::AlignLeft | Qt::AlignTop, s.Glyph);
            p.restore();
        }
    }

private:
    const std::unique_ptr<MenuAnimation>& m_animation;
    const double& m_scale;
};

} // namespace

TF_Main::TF_Main(Program& program, const ScreenInfo& screen, QWidget* parent)
    : ScreenFrame(program, HintTopics::MainMenu, MenuHelpTopic, parent), m_screen(screen),
      m_music(program, QStringLiteral("Menu.mid"), this)
{
    setObjectName(QStringLiteral("TF_Main"));
    setAttribute(Qt::WA_DeleteOnClose, false); // owned by the program for the whole run
    m_timer.setInterval(TickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &TF_Main::Tim_IdoTimer);
}

TF_Main::~TF_Main()
{
    // A notice other than the start-up one is a window of its own that nothing else deletes
    // once the event loop has stopped; it goes with the menu that opened it.
    delete m_notice;
    // The display returns to the mode it had before start-up.
    m_switcher.RestoreMode();
}

PictureButton* TF_Main::command(int tag) const
{
    return tag >= 1 && tag <= 8 ? m_commands[std::size_t(tag - 1)] : nullptr;
}

bool TF_Main::FormCreate()
{
    Program& p = program();
    StudyState& state = p.state;
    StartupLoader loader(p);
    bool radicalsFound = true;
    try {
        state.PopGroup = 1;
        loader.loadHeaderPictures();
        traceStartup("header pictures");

        m_display = std::make_unique<ScaledDisplay>(m_screen);
        const LayoutChoice layout = chooseLayout(m_screen, m_switcher, *m_display);
        state.LayoutKind = int16_t(layout.layoutKind);
        state.LayoutScale = layout.layoutScale;
        // The screen in Qt's scaled pixels, rounded up: rounded down (1920 / 2.25 = 853.3 → 853)
        // the windows would leave the last column of the screen black.
        if (layout.qtScaleFactor > 0)
            p.screenCover = QSize(int(std::ceil(m_screen.width / layout.qtScaleFactor - 1e-6)),
                                  int(std::ceil(m_screen.height / layout.qtScaleFactor - 1e-6)));
        traceStartup("layout");
        if (layout.screenTooSmall) {
            p.messages.information(nullptr, QStringLiteral("このディスプレイの解像度では、実行できません"));
            return false;
        }

        // The commands first: made on a window already shown they would stay hidden.
        buildControls();
        traceStartup("menu controls");

        // The loading notice over the menu, in the menu's own window: the screen's first frame
        // is painted once.
        state.PopNo = 1;
        m_notice = new TF_Pop(p, this);
        m_notice->showNotice();
        m_underNotice = true;
        // Given the focus now, while little is waiting for the X server: asked for later, it
        // would wait for the whole notice to be drawn there first.
        ScreenFrame::showScreen();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        traceStartup("loading notice painted");

        loader.loadSettings();
        traceStartup("settings");
        if (!loader.openRecords(m_recordsLock)) {
            abandonStartup();
            return false;
        }
        traceStartup("records folder and its lock");
        state.HintIndexLoaded = false;
        state.HintTopic = state.HintSection = state.HintMode = 1;
        radicalsFound = loader.loadDictionaries();
        traceStartup("dictionaries");
        if (!radicalsFound)
            p.messages.error(nullptr, QStringLiteral("Bushu1.dat not found"));
        if (p.ending)
            radicalsFound = false; // the system asked the program to end while the box was open
        loader.loadRoster();
        traceStartup("roster and histories");
        loader.loadQuestionIndex();
        traceStartup("question index");
        loader.loadNoticePictures(state.LayoutKind == 2 ? 48 : 70);
        traceStartup("notice pictures");
    } catch (const DataError& e) {
        const QString file = e.fileName().isEmpty() ? loader.currentFile() : e.fileName();
        p.messages.error(nullptr, fileErrorMessage(file));
        abandonStartup();
        return false;
    }
    m_animation = std::make_unique<MenuAnimation>(p.random, state, p.highestLevel);
    if (!radicalsFound)
        abandonStartup();
    return radicalsFound;
}

void TF_Main::abandonStartup()
{
    m_recordsLock.reset();
    hide();
    if (m_notice)
        m_notice->close();
}

void TF_Main::showScreen()
{
    const bool revealing = m_underNotice && isVisible();
    if (m_underNotice) {
        m_underNotice = false;
        if (m_notice)
            m_notice->hide();
    }
    // Shown and given the focus under the notice: only brought back if the desktop took it away.
    if (!revealing || isMinimized() || !isActiveWindow())
        ScreenFrame::showScreen();
    if (revealing) {
        // Shown already, under the notice: what showing the menu starts, starts now.
        menuShown();
        if (isActiveWindow())
            activated();
    }
}

void TF_Main::buildControls()
{
    Program& p = program();
    m_title = new QLabel(QStringLiteral("もじまる(小３）"), canvas());
    m_title->setObjectName(QStringLiteral("Lbl_Title"));
    QFont titleFont = m_title->font();
    titleFont.setPixelSize(27);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setStyleSheet(QStringLiteral("color: yellow;"));
    m_title->move(10, 0);
    m_title->adjustSize();

    for (int k = 1; k <= 8; ++k) {
        auto* button = new PictureButton(p.headerImage(CommandPicture[k - 1]), k, canvas());
        button->setObjectName(QStringLiteral("Img_Command%1").arg(k));
        button->move(k * 80 - 70, 30);
        button->setToolTip(QString::fromUtf8(CommandTips[k - 1]));
        useHandCursor(p, button);
        connect(button, &QAbstractButton::clicked, this, [this, k] { commandClick(k); });
        m_commands[std::size_t(k - 1)] = button;
    }

    m_board = new MenuBoard(m_animation, p.state.LayoutScale, canvas());
    m_board->setObjectName(QStringLiteral("Img_Kanji"));
    m_board->setGeometry(BoardRect);
}

void TF_Main::showEvent(QShowEvent* event)
{
    ScreenFrame::showEvent(event);
    if (!m_underNotice)
        menuShown();
}

void TF_Main::menuShown()
{
    StudyState& state = program().state;
    state.PopGroup = 1;
    state.PopNo = 2;
    if (m_animation) {
        m_animation->restart();
        m_animation->setArea(m_board ? m_board->size() : BoardRect.size());
    }
    m_timer.start();
    if (m_painted)
        startMusic();
    program().random.seedFromClock(program().clock);
}

void TF_Main::paintEvent(QPaintEvent* event)
{
    ScreenFrame::paintEvent(event);
    if (!m_painted && !m_underNotice) {
        m_painted = true;
        QTimer::singleShot(0, this, &TF_Main::afterFirstPaint);
    }
}

void TF_Main::afterFirstPaint()
{
    traceStartup("menu painted");
    m_painted = true;
    if (!m_soundsOpened) {
        m_soundsOpened = true;
        StartupLoader loader(program());
        for (const QString& error : loader.openAnswerSounds())
            program().messages.error(this, error);
        traceStartup("answer sounds");
    }
    if (isVisible() && !m_music.playing()) {
        startMusic();
        traceStartup("music");
    }
}

void TF_Main::activated()
{
    if (m_underNotice)
        return; // the pupils are not read yet
    m_timer.start();
    // Point at registration while nobody is registered, else at study.
    if (PictureButton* target = command(program().state.PlayerCount == 0 ? 7 : 5))
        QCursor::setPos(target->mapToGlobal(target->rect().center()));
}

void TF_Main::resizeEvent(QResizeEvent* event)
{
    ScreenFrame::resizeEvent(event);
    if (m_notice && !m_notice->isWindow())
        m_notice->setGeometry(rect()); // the loading notice covers the whole window
}

void TF_Main::hideEvent(QHideEvent* event)
{
    m_timer.stop();
    ScreenFrame::hideEvent(event);
}

void TF_Main::startMusic()
{
    Program& p = program();
    p.state.MidiDeviceCount = p.audio.midiDeviceCount();
    if (m_music.open())
        m_music.start();
}

void TF_Main::stopMusic()
{
    if (m_music.playing())
        m_music.close();
}

void TF_Main::commandClick(int tag)
{
    Program& p = program();
    const int players = p.state.PlayerCount;
    switch (tag) {
    case 1: p.state.OpenHint(); return;
    case 2: p.help.showTopic(MenuHelpTopic); return;
    case 3: headerCommand(3); return;
    case 4:
        if (p.navigator)
            p.navigator->openSettings(this);
        return;
    case 5:
    case 6:
        if (players == 0) {
            p.messages.information(this, QStringLiteral("なまえのとうろくをしてください。"));
            return;
        }
        leaveFor(tag == 5 ? Screen::PlayerSelection : Screen::GradesOverview);
        return;
    case 7:
        if (players >= MaxPlayers) {
            p.messages.information(this, QStringLiteral("すでに１０にんまでとうろくずみです。"));
            return;
        }
        leaveFor(Screen::Registration);
        return;
    case 8: exitProgram(true); return;
    default: return;
    }
}

void TF_Main::endFromOutside()
{
    if (program().ending)
        return;
    // Every box and dialog is answered "no" and every screen closed before the roster is
    // written, so that nothing a box was asking about goes on; the openers of those boxes
    // find the program ending when their boxes return.
    program().ending = true;
    closeEveryBox();
    exitProgram(false);
}

void TF_Main::exitProgram(bool reportInBox)
{
    Program& p = program();
    p.ending = true;
    try {
        p.state.WriteRoster();
    } catch (const DataError& e) {
        // Nobody waits at a box while the system ends the program: the report goes to the log.
        if (reportInBox)
            p.messages.error(this, errorReportText(e));
        else
            qWarning("%s", qUtf8Printable(errorReportText(e)));
    }
    stopMusic();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible())
            w->close();
    }
    close();
    QApplication::quit();
}

void TF_Main::leaveFor(Screen screen)
{
    if (program().navigator)
        program().navigator->show(screen);
    stopMusic();
    hide();
}

void TF_Main::closeEvent(QCloseEvent* event)
{
    m_timer.stop();
    stopMusic();
    if (m_notice)
        m_notice->close();
    if (program().maruPlayer)
        program().maruPlayer->close();
    if (program().batsuPlayer)
        program().batsuPlayer->close();
    ScreenFrame::closeEvent(event);
}

void TF_Main::Tim_IdoTimer()
{
    if (!m_animation)
        return;
    StudyState& state = program().state;
    if (m_animation->tick(state.PopupsOn, state.PopNo) == MenuAnimation::Step::Notice) {
        showNotice();
        return;
    }
    drawFrame();
}

void TF_Main::showNotice()
{
    if (boxOpen())
        return; // a notice never covers a box the pupil is answering
    if (m_notice)
        m_notice->close();
    m_notice = new TF_Pop(program());
    m_notice->showNotice();
}

void TF_Main::drawFrame()
{
    if (m_board)
        m_board->update();
}

} // namespace moji
