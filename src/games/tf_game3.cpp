#include "tf_game3.h"

#include "audio.h"
#include "errors.h"
#include "examplesentence.h"
#include "hintcontext.h"
#include "picturebutton.h"
#include "program.h"
#include "randomsource.h"
#include "studystate.h"
#include "tf_game_kiroku.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

namespace moji {

namespace {

constexpr int CatcherHelpTopic = 39;
const QRect FieldRect(24, 88, 360, 320);
constexpr int SentenceLeft = 10;
constexpr int SentenceTop = 30;
constexpr int SentenceRowHeight = 48;
constexpr int SentencePixels = 27;
constexpr int FlashTicks = 8;

// Img1: shows the field's view, which the game loop composes off screen.
class FieldView final : public QWidget {
public:
    FieldView(const std::unique_ptr<CatcherField>& field, QWidget* parent) : QWidget(parent), m_field(field)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (m_field)
            p.drawImage(rect(), m_field->view());
        else
            p.fillRect(rect(), CatcherField::Navy);
    }

private:
    const std::unique_ptr<CatcherField>& m_field;
};

QGroupBox* group(const QString& title, QWidget* parent, const QRect& geometry)
{
    auto* box = new QGroupBox(title, parent);
    box->setFont(pixelFont(box->font(), 14));
    box->setGeometry(geometry);
    box->setStyleSheet(QStringLiteral("QGroupBox { color: white; font-weight: bold; border: 1px solid #8080c0;"
                                      " border-radius: 4px; margin-top: 10px; }"
                                      " QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }"));
    return box;
}

QLabel* label(const QString& text, QWidget* parent, const QRect& geometry, int pixels, const char* colour,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = new QLabel(text, parent);
    l->setFont(pixelFont(l->font(), pixels));
    l->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
    l->setGeometry(geometry);
    l->setAlignment(alignment);
    return l;
}

// A white arrow on the button's face, pointing left or right.
QIcon arrowIcon(bool left)
{
    QPixmap pixmap(36, 28);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF arrow;
    arrow << QPointF(2, 14) << QPointF(16, 2) << QPointF(16, 9) << QPointF(34, 9) << QPointF(34, 19)
          << QPointF(16, 19) << QPointF(16, 26);
    if (!left) {
        for (QPointF& pt : arrow)
            pt.setX(36 - pt.x());
    }
    p.setPen(QPen(QColor(120, 0, 0), 1.5));
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
    return QIcon(pixmap);
}

} // namespace

TF_Game3::TF_Game3(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::CatcherGame, CatcherHelpTopic, parent),
      m_music(program, QStringLiteral("Mogu.mid"), this, [this](const QString& message) { reportMediaError(message); })
{
    setObjectName(QStringLiteral("TF_Game3"));
    StudyState& s = program.state;
    s.Game3Alive = true;
    program.catcherGameScreen = this;
    program.random.seedFromClock(program.clock);
    m_game = std::make_unique<CatcherGame>(s, program.random, program.clock);

    addHeaderButtons();
    buildControls();
    buildPictures();
    m_timer.setInterval(TickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &TF_Game3::Timer1Timer);
    qApp->installEventFilter(this);
    openSounds();
}

TF_Game3::~TF_Game3()
{
    program().state.Game3Alive = false;
}

void TF_Game3::buildControls()
{
    QWidget* c = canvas();
    auto* title = label(QStringLiteral("かんじをキャッチ"), c, QRect(10, 0, 200, 30), 24, "yellow");
    title->setObjectName(QStringLiteral("Label1"));
    auto* instruction = label(QStringLiteral("せいかいの字をキャッチしよう。"), c, QRect(214, 2, 300, 28), 16, "white");
    instruction->setObjectName(QStringLiteral("Label2"));

    // The sentence takes the header row while a game runs.
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(c);
        l->setObjectName(QStringLiteral("Lbl_Sentence%1").arg(i + 1));
        l->setProperty("Tag", i + 1);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        l->hide();
        m_sentence[std::size_t(i)] = l;
    }

    // A thin frame around the field, which is navy like the window.
    auto* frame = new QWidget(c);
    frame->setObjectName(QStringLiteral("Shp_Field"));
    frame->setGeometry(FieldRect.adjusted(-2, -2, 2, 2));
    frame->setStyleSheet(QStringLiteral("background: #6a6ad0; border-radius: 2px;"));
    m_img1 = new FieldView(m_field, c);
    m_img1->setObjectName(QStringLiteral("Img1"));
    m_img1->setGeometry(FieldRect);

    m_left = new QPushButton(c);
    m_left->setObjectName(QStringLiteral("Btn_Left"));
    m_left->setToolTip(QStringLiteral("赤いパドルを左に動かします"));
    m_left->setIcon(arrowIcon(true));
    m_left->setIconSize(QSize(36, 28));
    m_left->setGeometry(FieldRect.center().x() - 96, 418, 88, 50);
    m_right = new QPushButton(c);
    m_right->setObjectName(QStringLiteral("Btn_Right"));
    m_right->setToolTip(QStringLiteral("赤いパドルを右に動かします"));
    m_right->setIcon(arrowIcon(false));
    m_right->setIconSize(QSize(36, 28));
    m_right->setGeometry(FieldRect.center().x() + 8, 418, 88, 50);
    for (QPushButton* b : {m_left, m_right}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setStyleSheet(QStringLiteral("QPushButton { background: #d02020; border: 2px solid #ff9090; border-radius: 8px; }"
                                        " QPushButton:pressed { background: #ff6030; }"));
        useHandCursor(program(), b);
        b->hide();
    }
    connect(m_left, &QPushButton::pressed, this, &TF_Game3::Btn_LeftMouseDown);
    connect(m_right, &QPushButton::pressed, this, &TF_Game3::Btn_RightMouseDown);
    connect(m_left, &QPushButton::released, this, &TF_Game3::Btn_RightMouseUp);
    connect(m_right, &QPushButton::released, this, &TF_Game3::Btn_RightMouseUp);

    QGroupBox* scoreBox = group(QStringLiteral("とくてん"), c, QRect(400, 84, 230, 150));
    scoreBox->setObjectName(QStringLiteral("GroupBox1"));
    m_timeLeft = label(m_game->timeText(), scoreBox, QRect(14, 22, 204, 30), 20, "white");
    m_timeLeft->setObjectName(QStringLiteral("Lbl_Nokori_Time"));
    auto* scoreCaption = label(QStringLiteral("とくてん"), scoreBox, QRect(14, 54, 90, 24), 16, "white");
    scoreCaption->setObjectName(QStringLiteral("Label4"));
    m_score = label(QString(), scoreBox, QRect(14, 80, 204, 50), 40, "yellow", Qt::AlignRight | Qt::AlignVCenter);
    m_score->setObjectName(QStringLiteral("Lbl_Tokuten"));
    m_seikai = label(QString(), scoreBox, QRect(14, 130, 100, 16), 12, "white");
    m_seikai->setObjectName(QStringLiteral("Lbl_Seikai"));
    auto* asked = label(QString(), scoreBox, QRect(118, 130, 100, 16), 12, "white");
    asked->setObjectName(QStringLiteral("Lbl_Shutsudai_Seikai"));
    showScore();

    m_enchou = label(QStringLiteral("時間えんちょう中"), c, QRect(400, 240, 230, 34), 22, "red", Qt::AlignCenter);
    m_enchou->setObjectName(QStringLiteral("Lbl_Enchou"));
    m_enchou->setStyleSheet(QStringLiteral("color: red; background: #fff4b0; border: 2px solid red; border-radius: 6px;"));
    m_enchou->hide();

    QGroupBox* speedBox = group(QStringLiteral("スピード"), c, QRect(400, 282, 230, 90));
    speedBox->setObjectName(QStringLiteral("GroupBox2"));
    speedBox->setToolTip(QStringLiteral("かんじの落ちてくるスピードをえらびます"));
    m_speed = new QSlider(Qt::Horizontal, speedBox);
    m_speed->setObjectName(QStringLiteral("TBar_Speed"));
    m_speed->setRange(1, 5);
    m_speed->setValue(3);
    m_speed->setPageStep(1);
    m_speed->setTickPosition(QSlider::TicksBelow);
    m_speed->setTickInterval(1);
    m_speed->setGeometry(20, 26, 190, 30);
    m_speed->setToolTip(speedBox->toolTip());
    useHandCursor(program(), m_speed);
    label(QStringLiteral("おそい"), speedBox, QRect(12, 58, 80, 22), 14, "white");
    label(QStringLiteral("はやい"), speedBox, QRect(138, 58, 80, 22), 14, "white", Qt::AlignRight | Qt::AlignVCenter);

    m_start = new QPushButton(QStringLiteral("ゲームはじめ"), c);
    m_start->setObjectName(QStringLiteral("Btn_Start"));
    m_start->setToolTip(QStringLiteral("ゲームをはじめます"));
    m_start->setFont(pixelFont(m_start->font(), 20));
    m_start->setGeometry(400, 386, 230, 58);
    m_start->setFocusPolicy(Qt::NoFocus);
    useHandCursor(program(), m_start);
    connect(m_start, &QPushButton::clicked, this, [this] {
        if (m_game->running())
            Cancel();
        else if (!m_game->finished())
            Btn_StartClick();
    });
}

void TF_Game3::buildPictures()
{
    StudyState& s = program().state;
    std::array<QString, CatcherGame::PoolSize> glyphs;
    for (int i = 1; i <= CatcherGame::PoolSize; ++i)
        glyphs[std::size_t(i - 1)] = s.KanjiTable[m_game->levelKanji(i)].Glyph.toUnicode();
    QFont tileFont = pixelFont(font(), 24);
    tileFont.setStyleStrategy(QFont::PreferAntialias);
    m_field = std::make_unique<CatcherField>(QSize(m_game->fieldWidth(), m_game->fieldHeight()),
                                             QImage(s.dataPath(QStringLiteral("STARS2.bmp"))), glyphs, tileFont);
    m_field->drawPaddleStrip(m_game->paddleX());
}

void TF_Game3::openSounds()
{
    Program& p = program();
    // A sound that does not open is reported by name; the ones after it stay closed.
    if (!m_music.open())
        return;
    m_atari = p.audio.createPlayer();
    if (!m_atari->open(p.state.dataPath(QStringLiteral("Atari.wav")))) {
        m_atari.reset();
        p.messages.error(this, mediaErrorMessage(QStringLiteral("Atari.wav")));
        return;
    }
    m_hazure = p.audio.createPlayer();
    if (!m_hazure->open(p.state.dataPath(QStringLiteral("Hazure.wav")))) {
        m_hazure.reset();
        p.messages.error(this, mediaErrorMessage(QStringLiteral("Hazure.wav")));
    }
}

void TF_Game3::Btn_StartClick()
{
    if (m_game->running() || m_game->finished())
        return;
    m_game->start(m_speed->value());
    m_timer.start();
    m_speed->setEnabled(false);
    m_img1->setCursor(program().handCursor);
    for (int tag = 1; tag <= 4; ++tag) {
        if (QWidget* b = headerButton(tag))
            b->hide();
    }
    m_field->clear();
    m_music.start();
    showQuestion();
    if (m_leaving)
        return; // the question bank failed and the program is ending
    for (QLabel* l : m_sentence)
        l->show();
    m_start->setText(QStringLiteral("ゲームおわり"));
    m_start->setToolTip(QStringLiteral("ゲームをおわります"));
    showScore();
    m_left->show();
    m_right->show();
    m_field->drawPaddleStrip(m_game->paddleX());
    m_img1->update();
    m_keyPreview = true;
}

void TF_Game3::Timer1Timer()
{
    if (!m_game->running())
        return;
    // Beneath a box (a sound's error report) the game and its clock stand still; a box
    // opened inside a tick lets no further tick run beneath it.
    const bool standStill = boxOpen();
    m_game->clockTick(standStill);
    if (standStill)
        return;
    if (m_inTick)
        return;
    m_inTick = true;
    const CatcherEvents events = m_game->tick();
    if (events.ended) {
        m_inTick = false;
        endGame();
        return;
    }
    if (events.extended)
        m_enchou->show();
    if (events.questionChanged) {
        showQuestion();
        if (m_leaving) {
            m_inTick = false;
            return;
        }
    }
    if (events.catches > 0) {
        m_flashTicks = FlashTicks;
        playCatch();
    }
    if (events.stepped) {
        m_field->composeFrame(*m_game);
        showScore();
    }
    m_field->drawPaddleStrip(m_game->paddleX(), m_flashTicks > 0);
    if (m_flashTicks > 0)
        --m_flashTicks;
    m_img1->update();
    m_inTick = false;
}

void TF_Game3::showScore()
{
    m_timeLeft->setText(m_game->timeText());
    m_score->setText(QString::number(m_game->score()) + QStringLiteral("てん"));
}

void TF_Game3::showQuestion()
{
    try {
        showSentence(exampleSentence(program().state, program().random, m_game->questionKanji()));
    } catch (const DataError& e) {
        failOnData(errorReportText(e));
    }
}

void TF_Game3::showSentence(const SentenceView& view)
{
    const double scale = program().state.LayoutScale > 0 ? program().state.LayoutScale : 1.0;
    const int left = int(SentenceLeft * scale + 0.5);
    const int available = canvas()->width() - 2 * left;
    std::array<QString, 3> parts;
    for (std::size_t i = 0; i < parts.size(); ++i)
        parts[i] = view.parts[i].trimmed();
    // As large as the row allows: a long sentence is written smaller rather than cut off.
    QFont f = pixelFont(font(), int(SentencePixels * scale + 0.5));
    while (f.pixelSize() > 12) {
        const QFontMetrics m(f);
        int width = 0;
        for (const QString& part : parts)
            width += m.horizontalAdvance(part);
        if (width <= available)
            break;
        f.setPixelSize(f.pixelSize() - 1);
    }
    int x = left;
    for (int i = 0; i < 3; ++i) {
        QLabel* l = m_sentence[std::size_t(i)];
        l->setFont(f);
        l->setText(parts[std::size_t(i)]);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, i + 1 == view.target ? QColor(255, 0, 0) : QColor(Qt::white));
        l->setPalette(pal);
        const int width = parts[std::size_t(i)].isEmpty() ? 0 : QFontMetrics(f).horizontalAdvance(parts[std::size_t(i)]) + 2;
        l->setGeometry(x, int(SentenceTop * scale + 0.5), width, int(SentenceRowHeight * scale + 0.5));
        x += width;
    }
}

QString TF_Game3::sentenceText(int part) const
{
    return m_sentence[std::size_t(std::clamp(part, 1, 3) - 1)]->text();
}

QColor TF_Game3::sentenceColour(int part) const
{
    return m_sentence[std::size_t(std::clamp(part, 1, 3) - 1)]->palette().color(QPalette::WindowText);
}

void TF_Game3::playCatch()
{
    if (m_hazure)
        m_hazure->stop();
    if (!m_atari)
        return;
    m_atari->rewind();
    if (!m_atari->play()) {
        m_atari.reset(); // reported once; the game goes on silently
        reportMediaError(mediaErrorMessage(QStringLiteral("Atari.wav")));
    }
}

void TF_Game3::endGame()
{
    Program& p = program();
    m_timer.stop();
    m_keyPreview = false;
    showScore();
    m_timeLeft->clear();
    m_left->hide();
    m_right->hide();
    m_music.stop();
    const CatcherOutcome outcome = m_game->outcome().value_or(CatcherOutcome());
    p.messages.information(this, outcome.passed ? QStringLiteral("おめでとう！ ごうかくです")
                                                : QStringLiteral("ざんねん！ ふごうかくです"));
    if (outcome.saveError)
        p.messages.error(this, *outcome.saveError);
    if (p.ending)
        return;
    {
        TF_Game_Kiroku table(p, HintTopics::CatcherGame, m_game->score(), this);
        table.exec();
        if (!table.ok())
            return; // the table could not be kept: the program is ending
    }
    m_seikai->setText(QStringLiteral(" "));
    m_start->setText(QStringLiteral("ゲームはじめ"));
    for (int tag = 1; tag <= 4; ++tag) {
        if (QWidget* b = headerButton(tag))
            b->show();
    }
    for (QLabel* l : m_sentence)
        l->hide();
    Cancel();
}

void TF_Game3::Cancel()
{
    if (m_leaving)
        return;
    m_leaving = true;
    m_timer.stop();
    m_keyPreview = false;
    releaseSounds();
    close();
    if (program().navigator)
        program().navigator->show(Screen::ModeMenu);
}

void TF_Game3::onBack()
{
    Cancel();
}

void TF_Game3::Btn_LeftMouseDown()
{
    m_game->moveLeft();
}

void TF_Game3::Btn_RightMouseDown()
{
    m_game->moveRight();
}

void TF_Game3::Btn_RightMouseUp()
{
    m_game->stopPaddle();
}

bool TF_Game3::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_keyPreview || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return ScreenFrame::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return ScreenFrame::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Down)
        return ScreenFrame::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        if (key == Qt::Key_Left)
            m_game->moveLeft();
        else if (key == Qt::Key_Right)
            m_game->moveRight();
        else
            m_game->stopPaddle();
    }
    return true; // the arrows steer the paddle and nothing else
}

void TF_Game3::releaseSounds()
{
    m_music.release();
    for (std::unique_ptr<MediaPlayer>* player : {&m_atari, &m_hazure}) {
        if (*player) {
            (*player)->stop();
            (*player)->close();
        }
        player->reset();
    }
}

void TF_Game3::reportMediaError(const QString& message)
{
    // The game waits beneath the box (see Timer1Timer) and goes on when it is closed.
    program().messages.error(this, message);
}

void TF_Game3::failOnData(const QString& report)
{
    // Without the question bank there is no game: the program ends, as for any data file.
    m_timer.stop();
    m_keyPreview = false;
    releaseSounds();
    m_leaving = true;
    endProgramWithError(program(), this, report);
}

void TF_Game3::closeEvent(QCloseEvent* event)
{
    m_timer.stop();
    m_keyPreview = false;
    releaseSounds();
    program().state.Game3Alive = false;
    ScreenFrame::closeEvent(event);
}

} // namespace moji
