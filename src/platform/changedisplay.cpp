#include "changedisplay.h"

namespace moji {

QString TChangeDisplay::describe(const DisplayModeRecord& mode)
{
    QString colours;
    switch (mode.bitsPerPixel) {
    case 4: colours = QStringLiteral("16色"); break;
    case 8: colours = QStringLiteral("256色"); break;
    case 16: colours = QStringLiteral("High Color (16ﾋﾞｯﾄ)"); break;
    case 32: colours = QStringLiteral("True Color (32ﾋﾞｯﾄ)"); break;
    default: colours = QStringLiteral("(Unknown)"); break;
    }
    return QStringLiteral("%1 x %2 [%3]").arg(mode.width).arg(mode.height).arg(colours);
}

TChangeDisplay& TChangeDisplay::Attach(DisplayBackend* dc)
{
    DC = dc;
    return Refresh();
}

TChangeDisplay& TChangeDisplay::Refresh()
{
    Clear();
    CurrentMode = Mode800 = Mode640 = -1;
    if (!DC)
        return *this;
    const DisplayModeRecord now = DC->current();
    for (int i = 0;; ++i) {
        const std::optional<DisplayModeRecord> m = DC->mode(i);
        if (!m)
            break;
        if (now.bitsPerPixel < 0 || now.bitsPerPixel != m->bitsPerPixel)
            continue;
        ModeList.push_back(*m);
        Strings << describe(*m);
        const int n = int(ModeList.size()) - 1;
        if (now.width >= 0 && now.height >= 0 && now.refreshRate >= 0 && now.width == m->width
            && now.height == m->height && now.refreshRate == m->refreshRate)
            CurrentMode = n;
        // The last listed mode of each width wins, whatever its height.
        if (m->width == 800)
            Mode800 = n;
        if (m->width == 640)
            Mode640 = n;
    }
    return *this;
}

void TChangeDisplay::Clear()
{
    while (!ModeList.empty())
        Delete(0);
    Strings.clear();
}

void TChangeDisplay::Delete(int index)
{
    if (index < 0 || index >= int(ModeList.size()))
        return;
    ModeList.erase(ModeList.begin() + index);
    Strings.removeAt(index);
}

int TChangeDisplay::ChangeMode(int index)
{
    if (index < 0 || index >= int(ModeList.size()) || !DC)
        return -1;
    return DC->change(ModeList[std::size_t(index)]);
}

} // namespace moji
