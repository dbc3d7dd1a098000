#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace moji {

// What the program needs of a display mode.
struct DisplayModeRecord {
    int bitsPerPixel = 0;
    int width = 0;
    int height = 0;
    int refreshRate = 0;
};

// The platform side of display modes: enumeration by number, the current settings of the
// device, and switching.
class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    // Mode number i, or nullopt when there is none (the enumeration ends there).
    virtual std::optional<DisplayModeRecord> mode(int i) const = 0;
    // The device's current depth, width, height and refresh rate; a value it cannot give is
    // negative.
    virtual DisplayModeRecord current() const = 0;
    // Switches to the mode for this run only; returns the platform's result code.
    virtual int change(const DisplayModeRecord& mode) = 0;
};

// The list of display modes of the current colour depth, with their descriptions, the mode
// current at the last refresh and the last 640- and 800-wide modes.
class TChangeDisplay {
public:
    TChangeDisplay() = default;

    // Sets the device and rebuilds the list.
    TChangeDisplay& Attach(DisplayBackend* dc);
    TChangeDisplay& Refresh();
    void Clear();
    void Delete(int index);

    int ChangeMode(int index);
    int RestoreMode() { return ChangeMode(CurrentMode); }
    int ChangeTo800() { return ChangeMode(Mode800); }
    int ChangeTo640() { return ChangeMode(Mode640); }

    int count() const { return int(Strings.size()); }
    static QString describe(const DisplayModeRecord& mode);

    QStringList Strings;
    std::vector<DisplayModeRecord> ModeList;
    DisplayBackend* DC = nullptr;
    int CurrentMode = -1;
    int Mode800 = -1;
    int Mode640 = -1;
};

} // namespace moji
