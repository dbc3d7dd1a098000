#include "hintsource.h"

#include "textcodec.h"

#include <set>
#include <tuple>

namespace moji::content {

namespace {

void checkLine(const QString& line, int maxBytes, const QString& where, Problems& problems)
{
    const auto bytes = cp932::encode(line);
    if (!bytes)
        problems.add(where, QStringLiteral("characters without a Shift-JIS form: %1").arg(line));
    else if (bytes->size() > maxBytes)
        problems.add(where, QStringLiteral("line longer than %1 bytes: %2").arg(maxBytes).arg(line));
}

} // namespace

std::vector<HintSource> readHints(const QString& path, Problems& problems)
{
    std::vector<HintSource> hints;
    for (const Row& row : readTable(path, false)) {
        const QString line = row.fields.join(QLatin1Char('\t')).trimmed();
        if (line.startsWith(QLatin1Char('@'))) {
            const QStringList n = line.mid(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            HintSource h;
            h.where = row.where();
            bool ok = n.size() == 3;
            if (ok) {
                bool a = false, b = false, c = false;
                h.topic = n[0].toInt(&a);
                h.section = n[1].toInt(&b);
                h.mode = n[2].toInt(&c);
                ok = a && b && c;
            }
            if (!ok)
                problems.add(row.where(), QStringLiteral("expected \"@ topic section mode\""));
            hints.push_back(h);
        } else if ((line.startsWith(QStringLiteral("1:")) || line.startsWith(QStringLiteral("2:"))) && !hints.empty()) {
            const bool first = line.startsWith(QLatin1Char('1'));
            const QString text = line.mid(2).trimmed();
            checkLine(text, first ? HintRecord::Level1LineBytes : HintRecord::Level2LineBytes, row.where(), problems);
            QStringList& lines = first ? hints.back().level1 : hints.back().level2;
            lines << text;
            if (lines.size() > MaxHintLines)
                problems.add(row.where(), QStringLiteral("more than %1 lines").arg(MaxHintLines));
        } else {
            problems.add(row.where(), QStringLiteral("expected \"@\", \"1:\" or \"2:\""));
        }
    }
    if (hints.size() > std::size_t(MaxHints))
        problems.add(path, QStringLiteral("more than %1 hints").arg(MaxHints));
    if (hints.empty())
        problems.add(path, QStringLiteral("no hints"));

    std::set<std::tuple<int, int, int>> finished;
    for (std::size_t i = 0; i < hints.size(); ++i) {
        const auto context = std::tuple{hints[i].topic, hints[i].section, hints[i].mode};
        if (hints[i].level1.isEmpty() && hints[i].level2.isEmpty())
            problems.add(hints[i].where, QStringLiteral("a hint without text"));
        if (finished.count(context))
            problems.add(hints[i].where, QStringLiteral("hints of one context must be consecutive"));
        if (i + 1 < hints.size() && std::tuple{hints[i + 1].topic, hints[i + 1].section, hints[i + 1].mode} != context)
            finished.insert(context);
    }
    return hints;
}

std::vector<HintRecord> hintRecords(const std::vector<HintSource>& hints)
{
    std::vector<HintRecord> records;
    for (std::size_t i = 0; i < hints.size(); ++i) {
        const HintSource& h = hints[i];
        HintRecord r;
        r.Topic = int16_t(h.topic);
        r.Section = int16_t(h.section);
        r.Mode = int16_t(h.mode);
        r.HintNo = int16_t(i + 1);
        for (int l = 0; l < MaxHintLines; ++l) {
            r.Level1[std::size_t(l)] = l < h.level1.size() ? cp932::encodeLossy(h.level1[l]) : QByteArray();
            r.Level2[std::size_t(l)] = l < h.level2.size() ? cp932::encodeLossy(h.level2[l]) : QByteArray();
        }
        records.push_back(r);
    }
    return records;
}

} // namespace moji::content
