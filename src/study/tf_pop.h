#pragma once

#include <QWidget>

namespace moji {

struct Program;

// The notice pop-up: a full-screen teal window in front of everything that takes no input.
// PopGroup 1 / PopNo 1 is the start-up notice ("ただいまじゅんびちゅう！") shown while the data
// loads. Other notices show one of the notice pictures with a short greeting and go away by
// themselves after a few seconds.
class TF_Pop : public QWidget {
    Q_OBJECT
public:
    static constexpr int OtherNoticeMilliseconds = 3000;

    // A window of its own, or, `over` a full-screen window (the start-up notice over the main
    // menu, which start-up shows covered by it), drawn inside that window: the screen's first
    // frame is then painted and sent to the X server once, not twice.
    explicit TF_Pop(Program& program, QWidget* over = nullptr);

    // Shows the notice over the whole screen and paints it at once.
    void showNotice();
    bool isStartupNotice() const { return m_group == 1 && m_number == 1; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent*) override;

private:
    void drawStartupNotice(class QPainter& p);
    void drawOtherNotice(class QPainter& p);

    Program& m_program;
    int m_group;
    int m_number;
};

} // namespace moji
