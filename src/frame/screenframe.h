#pragma once

#include "navigator.h"

#include <QWidget>

#include <array>

class QLabel;

namespace moji {

struct Program;
class PictureButton;

// The frame every full screen shares: a borderless navy window filling the screen, a
// 640 x 480 design area in its middle (x 1.25 in the larger layout) that holds the screen's
// controls, the four header picture buttons (hint, help, minimise, back), the hint context
// set on activation and the screen's help topic. A screen declares its topics and its back
// action; closing it frees it.
class ScreenFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 640;
    static constexpr int DesignHeight = 480;

    ScreenFrame(Program& program, int hintTopic, int helpTopic, QWidget* parent = nullptr);

    // The design area: controls are placed on it at design coordinates.
    QWidget* canvas() const { return m_canvas; }
    Program& program() const { return m_program; }
    int hintTopic() const { return m_hintTopic; }
    virtual int helpTopic() const { return m_helpTopic; }
    void setHelpTopic(int topic) { m_helpTopic = topic; }

    // Shows the window over the whole primary screen, in front and given the focus, and scales
    // the layout once.
    virtual void showScreen();

    // Header click by tag: 1 hint, 2 help, 3 minimise, 4 back.
    void headerCommand(int tag);

    static const QColor Navy;

protected:
    // The four header buttons at left tag * 80 - 70 and the given top, with the tool-tips of
    // most screens, or the variants some screens use.
    enum class TipVariant { Standard, Lowercase, BackToMenu };
    void addHeaderButtons(int top = 30, TipVariant variant = TipVariant::Standard);
    PictureButton* headerButton(int tag) const;
    // The screen's yellow bold title, Lbl_Title, at the top left.
    QLabel* addTitle(const QString& text, int pixels = 27);

    // Controls made after the screen was shown are placed at design coordinates and then passed
    // here, to grow with the rest of the larger layout.
    void scaleLate(QWidget* control) const;

    virtual void onBack() = 0;
    // The window manager asked to close the window (Alt+F4, a title bar, a task bar): the
    // screen's own back command, with its own question where it asks one.
    virtual void onWindowClose() { onBack(); }
    virtual void onHint();
    // Called when the window becomes active, after the hint context is reset.
    virtual void activated() {}

    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setHintContext();
    void centreCanvas();

    Program& m_program;
    int m_hintTopic;
    int m_helpTopic;
    QWidget* m_canvas;
    std::array<PictureButton*, 4> m_header{};
    bool m_scaled = false;
};

// The rectangle a full-screen window of the program covers: the primary screen, grown to the
// program's whole screen where Qt's scaled pixels round it down.
QRect fullScreenRect(const Program& program);

// Whether a message box or a modal dialog is open. What a timer would decide (a time-out, the
// computer's turn, the next scoring row) waits while one is: the answer to the box decides
// first, and the clocks that count against the pupil stand still meanwhile.
bool boxOpen();

// Answers every open box and dialog "no" (the openers find the program ending when their
// boxes return).
void closeEveryBox();

// Brings the program back to the front as a later start of it asks: every window of it
// restored from the task bar, and the box on top, or else the screen on view, given the focus.
void bringProgramForward();

// Shows the one error report over `parent`, then ends the program, as every data file that
// fails does.
void endProgramWithError(Program& program, QWidget* parent, const QString& text);

// Multiplies the geometry and font size of every widget below `root` by `scale`, as the
// larger layout needs; pictures drawn by the screens are scaled by the screens themselves.
void scaleLayout(QWidget* root, double scale);
// The same for one widget and everything below it.
void scaleWidget(QWidget* widget, double scale);
// One design length in the layout's pixels, rounded as the controls are: for what the layout
// does not reach by itself (drawn pictures, a list's columns and rows).
int scaled(int design, double scale);

// Applies the frame's look to a control: the hand pointer on buttons.
void useHandCursor(Program& program, QWidget* widget);

// The font of `base` at a size in pixels, bold unless told otherwise.
QFont pixelFont(const QFont& base, int pixels, bool bold = true);

} // namespace moji
