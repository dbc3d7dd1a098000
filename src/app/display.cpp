#include "display.h"

#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include <cmath>
#include <vector>

namespace moji {

namespace {

std::vector<DisplayModeRecord> modesOf(const ScreenInfo& s)
{
    std::vector<DisplayModeRecord> modes{{s.depth, s.width, s.height, s.refreshRate}};
    if (s.width >= 640 && s.height >= 480)
        modes.push_back({s.depth, 640, 480, s.refreshRate});
    if (s.width >= 800 && s.height >= 600)
        modes.push_back({s.depth, 800, 600, s.refreshRate});
    return modes;
}

} // namespace

std::optional<DisplayModeRecord> ScaledDisplay::mode(int i) const
{
    const auto modes = modesOf(m_screen);
    if (i < 0 || i >= int(modes.size()))
        return std::nullopt;
    return modes[std::size_t(i)];
}

DisplayModeRecord ScaledDisplay::current() const
{
    return {m_screen.depth, m_screen.width, m_screen.height, m_screen.refreshRate};
}

int ScaledDisplay::change(const DisplayModeRecord& mode)
{
    m_chosen = mode;
    return 0;
}

double ScaledDisplay::scaleFactor() const
{
    if (m_chosen.width <= 0 || m_chosen.height <= 0)
        return 1.0;
    return std::min(double(m_screen.width) / m_chosen.width, double(m_screen.height) / m_chosen.height);
}

LayoutChoice chooseLayout(const ScreenInfo& screen, TChangeDisplay& switcher, ScaledDisplay& backend)
{
    LayoutChoice choice;
    switcher.Attach(&backend);
    if (std::lround(screen.dotsPerInch) == 96) {
        choice.layoutKind = 2;
        choice.layoutScale = 1.0;
        switcher.ChangeTo640();
        choice.screenTooSmall = switcher.Mode640 == -1 && screen.width < 640;
    } else {
        choice.layoutKind = 1;
        choice.layoutScale = 1.25;
        switcher.ChangeTo800();
        choice.screenTooSmall = switcher.Mode800 == -1 && screen.width < 800;
    }
    choice.qtScaleFactor = backend.scaleFactor();
    return choice;
}

namespace {

// The X screen read straight from the server: far quicker than starting Qt twice. The logical
// dots per inch are Xft.dpi when the desktop sets it, else 96, as Qt's own X11 support reads
// them. nullopt off X11; the connection is handed to `probe`.
std::optional<ScreenInfo> probeX11(std::unique_ptr<xcb_connection_t, XConnectionCloser>& probe)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((!platform.isEmpty() && !platform.startsWith("xcb")) || qEnvironmentVariableIsEmpty("DISPLAY"))
        return std::nullopt;
    int screenNumber = 0;
    probe.reset(xcb_connect(nullptr, &screenNumber));
    xcb_connection_t* connection = probe.get();
    if (xcb_connection_has_error(connection)) // never null: a failed connection is an error object
        return std::nullopt;
    std::optional<ScreenInfo> info;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (it.rem) {
        ScreenInfo s;
        s.width = it.data->width_in_pixels;
        s.height = it.data->height_in_pixels;
        s.depth = it.data->root_depth == 24 ? 32 : it.data->root_depth;
        s.refreshRate = 60;
        s.dotsPerInch = 96;
        // Qt lets QT_FONT_DPI stand in for the desktop's setting; so does this probe.
        const double forced = qEnvironmentVariable("QT_FONT_DPI").toDouble();
        const xcb_get_property_cookie_t cookie =
            xcb_get_property(connection, 0, it.data->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 16384);
        if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
            const QByteArray resources(static_cast<const char*>(xcb_get_property_value(reply)),
                                       xcb_get_property_value_length(reply));
            for (const QByteArray& line : resources.split('\n')) {
                if (line.startsWith("Xft.dpi:")) {
                    bool ok = false;
                    const double dpi = line.mid(8).trimmed().toDouble(&ok);
                    if (ok && dpi > 0)
                        s.dotsPerInch = dpi;
                }
            }
            std::free(reply);
        }
        if (forced > 0)
            s.dotsPerInch = forced;
        info = s;
    }
    return info;
}

} // namespace

void XConnectionCloser::operator()(xcb_connection_t* connection) const
{
    xcb_disconnect(connection);
}

PreparedDisplay prepareDisplay(int argc, char** argv)
{
    PreparedDisplay prepared;
    ScreenInfo& info = prepared.screen;
    if (const auto x11 = probeX11(prepared.probe)) {
        info = *x11;
    } else {
        prepared.probe.reset();
        std::vector<char*> args(argv, argv + argc);
        int count = argc;
        QGuiApplication probe(count, args.data());
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            info.width = screen->geometry().width();
            info.height = screen->geometry().height();
            info.depth = screen->depth() > 0 ? screen->depth() : 32;
            info.refreshRate = int(std::lround(screen->refreshRate()));
            info.dotsPerInch = screen->logicalDotsPerInch();
        }
    }
    TChangeDisplay switcher;
    ScaledDisplay backend(info);
    const LayoutChoice choice = chooseLayout(info, switcher, backend);
    // The layout already grows for a large-font desktop (LayoutScale); Qt's own scaling by the
    // desktop's dots per inch would grow it a second time, past the edge of the screen.
    // For the same reason fonts keep their 96-dots-per-inch sizes: the layout scales them.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_FONT_DPI", "96");
    if (!choice.screenTooSmall && choice.qtScaleFactor > 0 && std::abs(choice.qtScaleFactor - 1.0) > 1e-6)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(choice.qtScaleFactor, 'f', 4));
    return prepared;
}

} // namespace moji
