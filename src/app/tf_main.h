#pragma once

#include "display.h"
#include "loopingtune.h"
#include "menuanimation.h"
#include "navigator.h"
#include "screenframe.h"
#include "tf_pop.h"

#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

class QLabel;

namespace moji {

class PictureButton;
class RecordsLock;

// The main menu: the title, eight picture commands and kanji drifting across a navy board to
// looping music. It is the first and last screen: start-up runs when it is created, and its
// exit command writes the roster and ends the program.
class TF_Main : public ScreenFrame {
    Q_OBJECT
public:
    TF_Main(Program& program, const ScreenInfo& screen, QWidget* parent = nullptr);
    ~TF_Main() override;

    // Runs start-up: display, loading notice, settings, the records folder and its lock, data
    // files and pictures. The notice is drawn in this window, which shows covered by it (without
    // the focus) until showScreen(). False when the program must end (the message was shown);
    // the lock is then given back and the window hidden.
    bool FormCreate();
    // Shows the menu; the first time, takes the loading notice away and gives it the focus.
    void showScreen() override;
    // Whether the loading notice still covers the window: start-up has not shown the menu yet.
    bool underLoadingNotice() const { return m_underNotice; }

    // The eight commands by tag: 1 hint, 2 help, 3 minimise, 4 settings, 5 study, 6 grades,
    // 7 registration, 8 exit.
    void commandClick(int tag);
    // The system asks the program to end (a signal, the desktop session ending): as the exit
    // command, from whatever screen or box is open, without waiting for anyone.
    void endFromOutside();

    bool musicPlaying() const { return m_music.playing(); }
    const MenuAnimation* animation() const { return m_animation.get(); }
    QTimer& Tim_Ido() { return m_timer; }
    PictureButton* command(int tag) const;
    // One 200 ms animation tick.
    void Tim_IdoTimer();
    // What waits for the first paint of the menu: the answer sounds and the music, whose
    // audio device takes a while to open.
    void afterFirstPaint();
    TF_Pop* notice() const { return m_notice; }

protected:
    void onBack() override {}
    // Closing the main menu's window is the exit command; under the loading notice nothing has
    // been read that could be written back, and start-up goes on.
    void onWindowClose() override
    {
        if (!m_underNotice)
            commandClick(8);
    }
    void activated() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    // What showing the menu starts: the notices' context, the animation and its timer, the music.
    void menuShown();
    // Start-up has failed: the lock is given back and the window goes without showing the menu.
    void abandonStartup();
    void startMusic();
    void stopMusic();
    void drawFrame();
    void showNotice();
    void leaveFor(Screen screen);
    // The exit command's work: writes the roster, closes every window and ends the event loop.
    // A failed write is shown in a box, or only logged when nobody may be there to read it.
    void exitProgram(bool reportInBox);

    ScreenInfo m_screen;
    TChangeDisplay m_switcher;
    std::unique_ptr<ScaledDisplay> m_display;
    QLabel* m_title = nullptr;
    QWidget* m_board = nullptr; // Img_Kanji
    std::array<PictureButton*, 8> m_commands{};
    std::unique_ptr<MenuAnimation> m_animation;
    LoopingTune m_music; // MP_1
    QTimer m_timer; // Tim_Ido
    QPointer<TF_Pop> m_notice;
    // Held while the program runs: no other copy uses these records meanwhile.
    std::unique_ptr<RecordsLock> m_recordsLock;
    bool m_painted = false;
    bool m_soundsOpened = false;
    bool m_underNotice = false;
};

} // namespace moji
