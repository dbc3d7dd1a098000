#include "screenframe.h"

#include "picturebutton.h"
#include "program.h"
#include "studystate.h"
#include "windowfront.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QScreen>

namespace moji {

const QColor ScreenFrame::Navy(0, 0, 128);

ScreenFrame::ScreenFrame(Program& program, int hintTopic, int helpTopic, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_program(program),
      m_hintTopic(hintTopic), m_helpTopic(helpTopic)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("もじまる（小３）"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Navy);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    m_canvas = new QWidget(this);
    m_canvas->setObjectName(QStringLiteral("canvas"));
    const double scale = program.state.LayoutScale > 0 ? program.state.LayoutScale : 1.0;
    m_canvas->resize(scaled(DesignWidth, scale), scaled(DesignHeight, scale));
}

void ScreenFrame::addHeaderButtons(int top, TipVariant variant)
{
    static const char* const standard[] = {"ヒントを見る", "ヘルプを見る", "アイコンにする", "前にもどる"};
    for (int tag = 1; tag <= 4; ++tag) {
        auto* button = new PictureButton(m_program.headerImage(tag), tag, m_canvas);
        button->setObjectName(QStringLiteral("Img_Button%1").arg(tag));
        button->move(tag * 80 - 70, top);
        QString tip = QString::fromUtf8(standard[tag - 1]);
        if (variant == TipVariant::Lowercase && tag == 1)
            tip = QStringLiteral("ヒントをみる");
        if (variant == TipVariant::Lowercase && tag == 2)
            tip = QStringLiteral("ヘルプをみる");
        if (variant == TipVariant::BackToMenu && tag == 4)
            tip = QStringLiteral("メニューにもどる");
        button->setToolTip(tip);
        useHandCursor(m_program, button);
        connect(button, &QAbstractButton::clicked, this, [this, tag] { headerCommand(tag); });
        m_header[std::size_t(tag - 1)] = button;
    }
}

QLabel* ScreenFrame::addTitle(const QString& text, int pixels)
{
    auto* title = new QLabel(text, m_canvas);
    title->setObjectName(QStringLiteral("Lbl_Title"));
    title->setFont(pixelFont(font(), pixels));
    title->setStyleSheet(QStringLiteral("color: yellow;"));
    title->move(10, 0);
    title->adjustSize();
    return title;
}

PictureButton* ScreenFrame::headerButton(int tag) const
{
    return tag >= 1 && tag <= 4 ? m_header[std::size_t(tag - 1)] : nullptr;
}

void ScreenFrame::headerCommand(int tag)
{
    switch (tag) {
    case 1: onHint(); break;
    case 2: m_program.help.showTopic(helpTopic()); break;
    case 3:
        // Every window of the program, but not a tool-tip (windowFlags() & Qt::ToolTip would
        // match every window: the flag shares its bits with Qt::Window).
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->isWindow() && w->windowType() != Qt::ToolTip)
                w->showMinimized();
        }
        break;
    case 4: onBack(); break;
    default: break;
    }
}

void ScreenFrame::onHint()
{
    m_program.state.OpenHint();
}

void ScreenFrame::showScreen()
{
    if (!m_scaled) {
        m_scaled = true;
        const double scale = m_program.state.LayoutScale;
        if (scale > 1.0) {
            // The main menu is built before start-up has measured the screen, so the canvas
            // takes its size here too.
            m_canvas->resize(scaled(DesignWidth, scale), scaled(DesignHeight, scale));
            scaleLayout(m_canvas, scale);
        }
    }
    // Without a window manager a full-screen request alone leaves a small window.
    setGeometry(fullScreenRect(m_program));
    showInFront(this, true);
}

void ScreenFrame::setHintContext()
{
    m_program.state.HintTopic = int16_t(m_hintTopic);
    m_program.state.HintSection = 1;
    m_program.state.HintMode = 1;
}

bool ScreenFrame::event(QEvent* event)
{
    // A close from the window system would otherwise destroy the screen and open nothing in
    // its place. It becomes the screen's back command instead, run once this event is done
    // (the command may ask a question or close the window itself). While the program ends,
    // every close is taken as it comes.
    if (event->type() == QEvent::Close && event->spontaneous() && !m_program.ending) {
        event->ignore();
        QMetaObject::invokeMethod(
            this,
            [this] {
                // A second request queued behind the first finds the screen gone already.
                if (isVisible() && !m_program.ending)
                    onWindowClose();
            },
            Qt::QueuedConnection);
        return true;
    }
    return QWidget::event(event);
}

void ScreenFrame::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        setHintContext();
        activated();
    }
}

void ScreenFrame::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Offscreen and under some window managers activation comes late or not at all; the
    // hint context must still be this screen's as soon as it is visible.
    setHintContext();
    centreCanvas();
}

void ScreenFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    centreCanvas();
}

void ScreenFrame::centreCanvas()
{
    m_canvas->move(std::max(0, (width() - m_canvas->width()) / 2), std::max(0, (height() - m_canvas->height()) / 2));
}

QRect fullScreenRect(const Program& program)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->geometry() : QRect();
    if (program.screenCover.isValid())
        area.setSize(area.size().expandedTo(program.screenCover));
    return area;
}

void endProgramWithError(Program& program, QWidget* parent, const QString& text)
{
    program.messages.error(parent, text);
    QApplication::closeAllWindows();
    QApplication::quit();
}

void closeEveryBox()
{
    while (QWidget* box = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(box))
            dialog->reject();
        else
            box->close();
        if (QApplication::activeModalWidget() == box)
            box->hide();
    }
}

void bringProgramForward()
{
    // The screens first, so that a box comes back above its screen.
    QWidget* screen = nullptr;
    for (const bool screens : {true, false}) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            const bool isScreen = qobject_cast<ScreenFrame*>(w) != nullptr;
            if (isScreen != screens || !w->isVisible() || w->windowType() == Qt::ToolTip)
                continue;
            if (w->isMinimized())
                showInFront(w, isScreen);
            if (isScreen)
                screen = w;
        }
    }
    if (QWidget* front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : screen) {
        front->raise();
        front->activateWindow();
    }
}

bool boxOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}

void scaleLayout(QWidget* root, double scale)
{
    for (QWidget* child : root->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        scaleWidget(child, scale);
}

void scaleWidget(QWidget* widget, double scale)
{
    const QRect g = widget->geometry();
    widget->setGeometry(scaled(g.x(), scale), scaled(g.y(), scale), scaled(g.width(), scale), scaled(g.height(), scale));
    // Only fonts set on the control itself: inherited ones follow their parent.
    if (widget->testAttribute(Qt::WA_SetFont)) {
        QFont f = widget->font();
        if (f.pixelSize() > 0)
            f.setPixelSize(int(f.pixelSize() * scale + 0.5));
        else if (f.pointSizeF() > 0)
            f.setPointSizeF(f.pointSizeF() * scale);
        widget->setFont(f);
    }
    scaleLayout(widget, scale);
}

int scaled(int design, double scale)
{
    return int(design * scale + 0.5);
}

void ScreenFrame::scaleLate(QWidget* control) const
{
    if (m_scaled && m_program.state.LayoutScale > 1.0)
        scaleWidget(control, m_program.state.LayoutScale);
}

QFont pixelFont(const QFont& base, int pixels, bool bold)
{
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void useHandCursor(Program& program, QWidget* widget)
{
    widget->setCursor(program.handCursor);
}

} // namespace moji
