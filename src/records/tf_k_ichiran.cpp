#include "tf_k_ichiran.h"

#include "audio.h"
#include "errors.h"
#include "friendlybutton.h"
#include "hintcontext.h"
#include "program.h"
#include "randomsource.h"
#include "studystate.h"
#include "tf_kakijun.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace moji {

namespace {

const QString MusicFile = QStringLiteral("ichiran.mid");
constexpr int BoardLeft = 80;
constexpr int BoardTop = 96;
constexpr int GlyphPixels = 21;

QLabel* legend(const QString& text, const char* name, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(pixelFont(label->font(), 20));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->adjustSize();
    label->hide();
    return label;
}

} // namespace

TF_K_ichiran::TF_K_ichiran(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::KanjiBoard, HelpTopic, parent), m_board(program.state.LayoutScale),
      m_music(program, MusicFile, this)
{
    setObjectName(QStringLiteral("TF_K_ichiran"));
    setWindowTitle(QStringLiteral("もじまる"));
    addTitle(QStringLiteral("かんじのいちらん"))->setObjectName(QStringLiteral("Lbl_TItle"));
    addHeaderButtons();

    m_image = new QLabel(canvas());
    m_image->setObjectName(QStringLiteral("Img_Kanji"));
    m_image->setGeometry(BoardLeft, BoardTop, 480, 360);
    m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image->installEventFilter(this);
    m_clickHint = new QLabel(QStringLiteral("かんじを　おすと、かきじゅんが　みられるよ"), canvas());
    m_clickHint->setObjectName(QStringLiteral("Lbl_Kakijun"));
    m_clickHint->setFont(pixelFont(font(), 15));
    m_clickHint->setStyleSheet(QStringLiteral("color: #c8d7ff;"));
    m_clickHint->setGeometry(BoardLeft, BoardTop + 362, 480, 20);
    m_clickHint->setAlignment(Qt::AlignCenter);
    m_clickHint->hide();

    // The two list buttons and, in their place while the kanji move, the legend.
    m_yomi = friendlyButton(QStringLiteral("読む"), "Btn_Yomi", QRect(340, 36, 130, 42), 20, canvas());
    m_yomi->setToolTip(QStringLiteral("読むかんじのいちらん"));
    m_kaki = friendlyButton(QStringLiteral("書く"), "Btn_Kaki", QRect(490, 36, 130, 42), 20, canvas());
    m_kaki->setToolTip(QStringLiteral("書くかんじのいちらん"));
    for (QPushButton* b : {m_yomi, m_kaki})
        useHandCursor(program, b);
    connect(m_yomi, &QPushButton::clicked, this, [this] { BtnClick(1); });
    connect(m_kaki, &QPushButton::clicked, this, [this] { BtnClick(2); });
    m_legendRed = legend(QStringLiteral("赤い"), "Lbl_Setsumei1", Qt::red, canvas());
    m_legendWhite = legend(QStringLiteral("字はごうかくした字だよ"), "Lbl_Setsumei2", Qt::white, canvas());
    m_legendRed->move(340, 46);
    m_legendWhite->move(m_legendRed->geometry().right() + 1, 46);

    m_timer.setInterval(KanjiBoard::ScatteredInterval);
    connect(&m_timer, &QTimer::timeout, this, &TF_K_ichiran::Tim_KanjiTimer);
    program.random.seedFromClock(program.clock);
    showIdlePrompt();
    m_music.open();
}

TF_K_ichiran::~TF_K_ichiran()
{
    m_timer.stop();
    m_music.release();
}

void TF_K_ichiran::BtnClick(int listMode)
{
    if (animating())
        return;
    try {
        m_board.build(program().state, program().random, listMode);
    } catch (const DataError& e) {
        program().messages.error(this, errorReportText(e));
        return;
    }
    m_scattered = renderBoard();
    showBoard(m_scattered);
    setAnimating(true);
    m_timer.start(KanjiBoard::ScatteredInterval);
    m_music.start();
}

void TF_K_ichiran::Tim_KanjiTimer()
{
    switch (m_board.tick()) {
    case KanjiBoard::Step::Draw:
        showBoard(m_board.phase() == KanjiBoard::Phase::Scattered ? m_scattered : renderBoard());
        break;
    case KanjiBoard::Step::SlowDown:
        showBoard(m_scattered);
        m_scattered = QImage();
        m_timer.setInterval(KanjiBoard::GlidingInterval);
        break;
    case KanjiBoard::Step::Finished:
        showBoard(renderBoard());
        m_timer.stop();
        setAnimating(false);
        m_music.stop();
        break;
    case KanjiBoard::Step::None: m_timer.stop(); break;
    }
}

QImage TF_K_ichiran::renderBoard() const
{
    return m_board.render(pixelFont(font(), int(GlyphPixels * program().state.LayoutScale + 0.5)), Navy);
}

QImage TF_K_ichiran::boardImage() const
{
    return m_image->pixmap().toImage();
}

void TF_K_ichiran::showBoard(const QImage& image)
{
    m_image->setPixmap(QPixmap::fromImage(image));
}

void TF_K_ichiran::showIdlePrompt()
{
    // Before the first list the board tells the pupil what to do.
    QImage image(m_board.boardSize(), QImage::Format_RGB32);
    image.fill(Navy);
    QPainter p(&image);
    p.setFont(pixelFont(font(), int(20 * program().state.LayoutScale + 0.5)));
    p.setPen(QColor(200, 215, 255));
    p.drawText(image.rect(), Qt::AlignCenter,
               QStringLiteral("「読む」か「書く」をおすと、\nかんじがならびはじめるよ。"));
    p.end();
    showBoard(image);
}

void TF_K_ichiran::Img_KanjiClick(QPoint at)
{
    const int i = m_board.kanjiAt(at);
    if (i > 0)
        TF_Kakijun::present(program(), m_board.kanji(i).kanji, {}, this);
}

bool TF_K_ichiran::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_image && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton) {
            // The board is drawn from the picture's top left.
            Img_KanjiClick(press->position().toPoint());
            return true;
        }
    }
    return ScreenFrame::eventFilter(watched, event);
}

void TF_K_ichiran::setAnimating(bool on)
{
    const bool sorted = !on && m_board.kanjiCount() > 0;
    m_clickHint->setVisible(sorted);
    m_image->setCursor(sorted ? program().handCursor : QCursor(Qt::ArrowCursor));
    m_yomi->setVisible(!on);
    m_kaki->setVisible(!on);
    m_legendRed->setVisible(on);
    m_legendWhite->setVisible(on);
}

void TF_K_ichiran::onBack()
{
    m_timer.stop();
    m_music.release();
    close();
    if (program().navigator)
        program().navigator->show(Screen::ModeMenu);
}

void TF_K_ichiran::closeEvent(QCloseEvent* event)
{
    m_timer.stop();
    m_music.release();
    ScreenFrame::closeEvent(event);
}

} // namespace moji
