// Kakijun.dat through the stroke order table, checked against the kanji dictionary of the
// facts table: a file it accepts gives every kanji it holds strokes that, written exactly as
// recorded, pass the stroke check.

#include "errors.h"
#include "factkanji.h"
#include "fuzzsupport.h"
#include "records.h"
#include "strokeorder.h"
#include "textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const QString path = fuzz::writeInput(QStringLiteral("Kakijun.dat"), data, size);
    static const auto dictionary =
        moji::handwriting::dictionaryOfFacts(QStringLiteral(MOJIMARU_CONTENT_DIR "/kanji/kanji-facts.tsv"));
    moji::handwriting::StrokeOrderTable table;
    try {
        table.load(path, dictionary);
    } catch (const moji::FileError& e) {
        FUZZ_CHECK(e.fileName() == QStringLiteral("Kakijun.dat"));
        return 0;
    }
    for (std::size_t at = 0; at + moji::StrokeOrderRecord::Size <= size; at += moji::StrokeOrderRecord::Size) {
        const char glyph[2] = {char(data[at]), char(data[at + 1])};
        const auto kanji = moji::cp932::decode(QByteArrayView(glyph, 2));
        FUZZ_CHECK(kanji.has_value());
        const auto* reference = table.strokesOf(*kanji);
        FUZZ_CHECK(reference != nullptr);
        moji::handwriting::Strokes written;
        for (const auto& stroke : *reference)
            written.push_back({stroke.start, stroke.end});
        const auto check = moji::handwriting::checkStrokes(written, *reference);
        FUZZ_CHECK(check.verdict == moji::handwriting::StrokeCheck::Verdict::Right);
        FUZZ_CHECK(!moji::handwriting::strokeCheckMessage(check).isEmpty());
    }
    return 0;
}
