#include "demofolder.h"

#include "clock.h"
#include "randomsource.h"
#include "records.h"
#include "studystate.h"

#include <QDir>
#include <QFile>

#include <cmath>

namespace moji {

void prepareDemoFolder(const QString& built, const QString& folder, ManualClock& clock)
{
    // The data files only: a build's program folder also holds the records of whoever ran it.
    const QStringList records{QStringLiteral("mojimaru"), QStringLiteral("Mojimaru.lock"), QStringLiteral("Player1.*"),
                              QStringLiteral("Kiroku*"), QStringLiteral("Saikin*"), QStringLiteral("Game*.dat*")};
    for (const QFileInfo& f : QDir(built).entryInfoList(QDir::Files)) {
        if (!QDir::match(records, f.fileName()))
            QFile::copy(f.filePath(), QDir(folder).filePath(f.fileName()));
    }
    StudyState state(folder, clock);
    state.LoadKanji();
    const char* const names[4] = {"はなこ", "たろう", "さくら", "ゆうき"};
    for (const char* name : names)
        state.RegisterPupil(SjisString<10>::fromUnicode(QString::fromUtf8(name)));
    // はなこ: three months of sessions every few days, reaching level 3 writing with some
    // points; what she learned first is fading.
    RandomSource random(7);
    const double today = clock.now();
    state.SelectPupil(1);
    for (int day = 90; day >= 1; day -= 4) {
        clock.set(today - day + 0.7);
        PlayerRecord& p = state.Roster[1];
        if (p.Level > 3 || (p.Level == 3 && p.Mode == 2 && state.LevelPoints > 20))
            break;
        state.SessionKind = (day / 4) % 4 != 0;
        state.CurrentLevel = state.SessionKind ? p.Level : int16_t(1 + random.Random(3));
        state.StudyMode = state.SessionKind ? p.Mode : int16_t(1 + random.Random(2));
        int correct = 0;
        for (int i = 1; i <= 10; ++i) {
            state.QuizSet[i].KanjiNo = int16_t(firstKanjiOfLevel(state.CurrentLevel) + 2 * (i - 1) + random.Random(2));
            state.QuizSet[i].Correct = random.Random(10) < 8;
            correct += state.QuizSet[i].Correct;
        }
        state.RecordSessionResult(correct >= PassMark);
        if (state.LevelRaised)
            state.SelectPupil(1);
    }
    state.Roster[1].Game1Level = 2;
    state.Roster[1].Game3Level = 1;
    state.Roster[3].Level = 11;
    state.WriteRoster();
    clock.set(today);
    // さくら finished every level long ago.
    QFile finished(QDir(folder).filePath(historyFileName(3)));
    if (finished.open(QIODevice::WriteOnly)) {
        for (int level = 1; level <= MaxLevel; ++level) {
            for (int mode = 1; mode <= 2; ++mode) {
                for (int s = 0; s < 4; ++s) {
                    HistoryRecord r;
                    r.Kind = 1;
                    r.Level = int16_t(level);
                    r.Mode = int16_t(mode);
                    r.When = today - 200 + level * 10 + mode * 3 + s;
                    for (int i = 0; i < 10; ++i) {
                        r.KanjiNo[std::size_t(i)] = int16_t(firstKanjiOfLevel(level) + (s % 2) * 10 + i);
                        r.Correct[std::size_t(i)] = true;
                    }
                    r.Counted = true;
                    finished.write(r.encode());
                }
            }
        }
    }
    // Game tables of earlier days.
    for (const char* table : {"Game1.dat", "Game13.dat"}) {
        QFile f(QDir(folder).filePath(QLatin1String(table)));
        if (!f.open(QIODevice::WriteOnly))
            continue;
        const int scores[3] = {14, 11, 6};
        for (int i = 0; i < 3; ++i) {
            GameScoreRecord r;
            r.Score = int16_t(table[4] == '1' && table[5] == '.' ? scores[i] / 2 : scores[i]);
            r.Name = SjisString<10>::fromUnicode(QString::fromUtf8(names[i]));
            r.Date = std::floor(today) - 3 * (i + 1);
            f.write(r.encode());
        }
    }
}

} // namespace moji
