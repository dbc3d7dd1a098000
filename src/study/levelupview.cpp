#include "levelupview.h"

#include "studystate.h"

#include <algorithm>

namespace moji {

namespace {
constexpr int CaptionBytes = 22;
}

LevelUpView levelUpView(const StudyState& state)
{
    const PlayerRecord& pupil = state.Roster[state.PlayerNo];
    LevelUpView view;

    const QByteArray caption = cp932::encodeLossy(QStringLiteral("がんばれ！  ")) + pupil.Name.bytes();
    view.caption = cp932::decodeLossy(cp932::cutToBytes(caption, CaptionBytes));

    const int correct = state.SessionCorrect;
    if (correct < PassMark) {
        view.scoreMessage = QStringLiteral("ざんねんだったね。またがんばろうね。ふくしゅうもちゃんとやろうね。");
    } else if (correct >= 10) {
        view.scoreMessage = QStringLiteral("やったね！ １００点、おめでとう！");
        view.pictureFile = QStringLiteral("Present1.wmf");
    } else {
        view.scoreMessage = QStringLiteral("ごうかくおめでとう！ふくしゅうもがんばったね。");
        view.pictureFile = QStringLiteral("Present3.wmf");
    }

    if (!state.SessionKind && state.ReviewSession) {
        // Broken where a child reads a pause, not inside a word.
        view.levelMessage = QStringLiteral("ふくしゅうで　わすれかけた\nかんじを　おもいだしたね。");
    } else if (!state.SessionKind) {
        view.levelMessage = QStringLiteral("こんどは、チャレンジモードでがんばろうね。");
    } else if (state.LevelRaised) {
        view.levelMessage = pupil.Level > MaxLevel ? QStringLiteral("おめでとう。これであなたは、かんじはかせです。")
                                                   : QStringLiteral("やったね。これでレベルがあがったよ。");
        view.pictureFile = QStringLiteral("Present2.wmf");
    }

    view.showProgress = pupil.Level <= MaxLevel;
    if (view.showProgress) {
        view.progressTitle = pupil.Name.toUnicode() + QStringLiteral("の、チャレンジきろく");
        view.levelLine = QStringLiteral("べんきょうちゅうのレベル: %1").arg(pupil.Level);
        view.kindLine = pupil.Mode == 1 ? QStringLiteral("べんきょう中のしゅるい: 読むれんしゅう")
                                        : QStringLiteral("べんきょう中のしゅるい: 書くれんしゅう");
        view.barValue = std::clamp(int(state.LevelPoints), 0, LevelStep);
    }
    return view;
}

} // namespace moji
