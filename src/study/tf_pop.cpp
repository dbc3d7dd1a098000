#include "tf_pop.h"

#include "program.h"
#include "randomsource.h"
#include "screenframe.h"
#include "studystate.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace moji {

namespace {

const QColor Teal(0, 128, 128);

// Greetings of the notices other than the start-up one, by notice number.
QString greeting(int number)
{
    switch (number) {
    case 2: return QStringLiteral("きょうも　がんばろうね！");
    case 3: return QStringLiteral("ゲームで　あそんでみよう！");
    case 4: return QStringLiteral("まちがえても　だいじょうぶ！");
    case 5: return QStringLiteral("かんじを　たくさん　おぼえよう！");
    case 6: return QStringLiteral("ひとやすみ　しようか？");
    case 7: return QStringLiteral("ヒントも　つかってみてね！");
    case 8: return QStringLiteral("かんじはかせを　めざそう！");
    case 9: return QStringLiteral("すごい！　よく　がんばっているね！");
    default: return QStringLiteral("もじまる");
    }
}

} // namespace

TF_Pop::TF_Pop(Program& program, QWidget* over)
    : QWidget(over, over ? Qt::WindowFlags() : Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_program(program),
      m_group(program.state.PopGroup), m_number(program.state.PopNo)
{
    setObjectName(QStringLiteral("TF_Pop"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent); // the paint covers every pixel, and what it covers is not drawn
    setEnabled(false); // takes no mouse or keyboard input
    if (!isStartupNotice())
        QTimer::singleShot(OtherNoticeMilliseconds, this, &QWidget::close);
}

void TF_Pop::showNotice()
{
    if (QWidget* window = parentWidget()) {
        setGeometry(window->rect());
        raise();
        show();
    } else {
        setGeometry(fullScreenRect(m_program));
        // Shown without being activated: a notice never takes the focus.
        setWindowState(windowState() | Qt::WindowFullScreen);
        show();
        repaint();
    }
    if (isStartupNotice()) {
        m_program.state.PopupShowing = false;
        m_program.random.seedFromClock(m_program.clock);
    }
}

bool TF_Pop::event(QEvent* event)
{
    // A notice is never where the pupil works: activated all the same (a task bar, Alt+Tab),
    // it hands the front back to the screen in use. Drawn inside the menu's window, it is
    // activated with the menu, which already has the front.
    if (event->type() == QEvent::WindowActivate && isWindow()) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != this && w->isVisible() && !w->isMinimized() && qobject_cast<ScreenFrame*>(w)) {
                w->raise();
                w->activateWindow();
                break;
            }
        }
    }
    return QWidget::event(event);
}

void TF_Pop::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Teal);
    if (isStartupNotice())
        drawStartupNotice(p);
    else
        drawOtherNotice(p);
}

void TF_Pop::drawStartupNotice(QPainter& p)
{
    const int w = width();
    const int h = height();
    p.drawPixmap(w / 2 - 20, h / 3 - 80, m_program.headerImage(5));

    QFont title = font();
    title.setPointSize(24);
    title.setBold(true);
    p.setFont(title);
    const int ascent = QFontMetrics(title).ascent();
    p.setPen(Qt::gray);
    p.drawText(w / 4 + 3, h / 3 + 3 + ascent, QStringLiteral("もじまる"));
    p.setPen(Qt::white);
    p.drawText(w / 4, h / 3 + ascent, QStringLiteral("もじまる"));

    QFont line = font();
    line.setPointSize(18);
    p.setFont(line);
    p.setPen(Qt::yellow);
    p.drawText(w / 4 + 50, h / 3 + 50 + QFontMetrics(line).ascent(), QStringLiteral("ただいまじゅんびちゅう！"));
}

void TF_Pop::drawOtherNotice(QPainter& p)
{
    const QPixmap picture = m_program.noticePicture((m_number + 9) % 10);
    const int side = std::min(width(), height()) / 3;
    const QRect box((width() - side) / 2, height() / 3 - side / 2, side, side);
    if (!picture.isNull())
        p.drawPixmap(box, picture);
    QFont f = font();
    f.setPointSize(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::yellow);
    p.drawText(QRect(0, box.bottom() + 20, width(), 80), Qt::AlignHCenter | Qt::AlignTop, greeting(m_number));
}

} // namespace moji
