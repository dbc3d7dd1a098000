// Player1.dat through ReadRoster, then what start-up and player selection do with it, and
// the rewrite: a roster written back reads the same.

#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::writeInput(QStringLiteral("Player1.dat"), data, size);
    const auto state = fuzz::makeState();
    try {
        const moji::RosterSummary summary = state->ReadRoster();
        FUZZ_CHECK(summary.playerCount == state->PlayerCount);
        // No history files lie in the scratch folder: every pupil starts from scratch.
        state->RebuildLevelsFromHistory();
        for (int p = 1; p <= state->PlayerCount; ++p) {
            state->SelectPupil(p);
            (void)state->Roster[p].Name.toUnicode();
        }
        const auto before = state->Roster;
        const int count = state->PlayerCount;
        state->WriteRoster();
        state->ReadRoster();
        FUZZ_CHECK(state->PlayerCount == count);
        for (int p = 1; p <= count; ++p) {
            const moji::PlayerRecord& a = before[p];
            const moji::PlayerRecord& b = state->Roster[p];
            FUZZ_CHECK(a.Level == b.Level && a.Mode == b.Mode && a.Name == b.Name && a.Game1Level == b.Game1Level
                       && a.Game3Level == b.Game3Level && a.Reserved0 == b.Reserved0 && a.Reserved6 == b.Reserved6
                       && a.Reserved10 == b.Reserved10 && a.Reserved12 == b.Reserved12);
        }
        if (count < moji::MaxPlayers)
            state->RegisterPupil(moji::SjisString<10>::fromUnicode(QStringLiteral("たろう")));
    } catch (const moji::DataError&) {
    }
    return 0;
}
