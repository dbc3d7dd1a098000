// Hint.dat through the hint book: the index, the first hint of each context the screens ask
// for, paging forward and back within it, and each hint's text.

#include "fuzzsupport.h"
#include "hintbook.h"
#include "hintcontext.h"
#include "randomsource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::writeInput(QStringLiteral("Hint.dat"), data, size);
    const auto state = fuzz::makeState();
    moji::RandomSource random;
    moji::HintBook book(*state, random);
    try {
        book.loadIndex();
    } catch (const moji::DataError&) {
        FUZZ_CHECK(!state->HintIndexLoaded);
        return 0;
    }
    for (const moji::HintContext& context : moji::UsedHintContexts) {
        state->HintTopic = int16_t(context.topic);
        state->HintSection = int16_t(context.section);
        state->HintMode = int16_t(context.mode);
        try {
            // As the hint screen pages: forward to the context's last hint, then back.
            int n = book.firstHint();
            const auto first = book.readHint(n);
            FUZZ_CHECK(first && first->level1.size() == 5 && first->level2.size() == 5);
            while (const auto next = book.adjacentHint(n, +1)) {
                n = *next;
                book.readHint(n);
            }
            while (const auto previous = book.adjacentHint(n, -1))
                n = *previous;
        } catch (const moji::DataError&) {
        }
    }
    return 0;
}
