// The settings file through start-up's ReadSettings and the settings dialog's save: what is
// read survives the save, and the other lines of the file stay readable.

#include "fuzzsupport.h"
#include "inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::writeInput(QStringLiteral("Mojimaru.ini"), data, size);
    const auto state = fuzz::makeState();
    try {
        state->ReadSettings();
        const int16_t write = state->WriteTimeLimit;
        const int16_t read = state->ReadTimeLimit;
        const bool debug = state->DebugMode;
        state->PopupsOn = true;
        state->SaveSettings();

        const auto again = fuzz::makeState();
        again->ReadSettings();
        FUZZ_CHECK(again->WriteTimeLimit == write && again->ReadTimeLimit == read && again->DebugMode == debug);

        moji::IniFile ini(state->settingsPath, QStringLiteral("Mojimaru.ini"));
        ini.load();
        FUZZ_CHECK(ini.readString(QStringLiteral("Mojimaru1"), QStringLiteral("POPMSG")) == QStringLiteral("Y"));
        FUZZ_CHECK(ini.readInteger(QStringLiteral("Mojimaru1"), QStringLiteral("Write_Time"), -1) == write);
    } catch (const moji::DataError&) {
    }
    return 0;
}
