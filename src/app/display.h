#pragma once

#include "changedisplay.h"

#include <memory>

struct xcb_connection_t;

namespace moji {

// What the screen was when the program started, read before the application object exists.
struct ScreenInfo {
    int width = 0;
    int height = 0;
    int depth = 32;
    int refreshRate = 60;
    double dotsPerInch = 96;
};

// Display modes realised without touching the monitor: the list holds the current mode and,
// where the screen is large enough, a 640 x 480 and an 800 x 600 mode. Switching to one of
// those scales the whole design to fill the screen, keeping its proportions; the real
// resolution never changes, so restoring has nothing to undo.
class ScaledDisplay final : public DisplayBackend {
public:
    explicit ScaledDisplay(const ScreenInfo& screen) : m_screen(screen) {}

    std::optional<DisplayModeRecord> mode(int i) const override;
    DisplayModeRecord current() const override;
    int change(const DisplayModeRecord& mode) override;

    // The scale factor that makes the chosen mode's design fill the screen (1 when none).
    double scaleFactor() const;

private:
    ScreenInfo m_screen;
    DisplayModeRecord m_chosen;
};

// The layout the screen calls for: 2 (640 x 480, scale 1) at 96 dots per inch, else 1
// (800 x 600, scale 1.25).
struct LayoutChoice {
    int layoutKind = 2;
    double layoutScale = 1.0;
    bool screenTooSmall = false;
    double qtScaleFactor = 1.0;
};

// The start-up display decision: switch to the 640-wide mode (or 800-wide with large fonts);
// refuse a screen too narrow for either.
LayoutChoice chooseLayout(const ScreenInfo& screen, TChangeDisplay& switcher, ScaledDisplay& backend);

struct XConnectionCloser {
    void operator()(xcb_connection_t* connection) const;
};

struct PreparedDisplay {
    ScreenInfo screen;
    // The X connection the screen was read through, if any. Keep it until the QApplication
    // has made its own: an X server answers a new client slowly for a moment after another
    // has left (Xvfb by some 40 ms), and start-up would pay that wait.
    std::unique_ptr<xcb_connection_t, XConnectionCloser> probe;
};

// Reads the primary screen (from the X server directly, else through a short-lived
// application object) and sets the Qt scale factor of the chosen layout, so that the real
// application draws the design at full screen. Must run before the QApplication is created.
PreparedDisplay prepareDisplay(int argc, char** argv);

} // namespace moji
