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

    explicit TF_Pop(Program& program, QWidget* parent = nullptr);

    // Shows the window over the whole screen and paints it at once.
    void showNotice();
    bool isStartupNotice() const { return m_group == 1 && m_number == 1; }
    // Once the notice is on the screen, which keeps it until something covers it, gives back
    // the program's copy of it: as large as the screen, it would otherwise stand beside the
    // main menu's at start-up's peak. Anything that uncovers it has it painted again in full.
    void releaseFrame();

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
