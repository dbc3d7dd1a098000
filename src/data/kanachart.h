#pragma once

#include <QString>

namespace moji {

// The kana chart of the reading panel: 16 columns of 5, each column one row of the
// traditional chart, so the あ column ends up on the right. Buttons are numbered from 1.
inline const QString KanaChart = QStringLiteral(
    "ぱぴぷぺぽばびぶべぼだぢづでどざじずぜぞがぎぐげごんゃゅょっわいうえをらりるれろやいゆえよ"
    "まみむめもはひふへほなにぬねのたちつてとさしすせそかきくけこあいうえお");

// The filler い, う, え of the わ column and い, え of the や column are hidden.
constexpr bool isHiddenKanaButton(int button)
{
    return button == 32 || button == 33 || button == 34 || button == 42 || button == 44;
}

// A kana the pupil can enter on the chart (75 of them).
inline bool isEnterableKana(QChar c)
{
    for (int i = 0; i < KanaChart.size(); ++i) {
        if (KanaChart[i] == c && !isHiddenKanaButton(i + 1))
            return true;
    }
    return false;
}

// The kana of the registration screen's 80 buttons, one chart row per five; the や and わ rows
// repeat い, う and え as fillers. A pupil's name is 1 to MaxNameKana of them.
inline const QString RegistrationKana = QStringLiteral(
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやいゆえよ"
    "らりるれろわいうえをんゃゅょっがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ");
constexpr int MaxNameKana = 5;

enum class NameProblem { None, Empty, TooLong, NotOnChart };
inline NameProblem checkPupilName(const QString& name)
{
    if (name.isEmpty())
        return NameProblem::Empty;
    if (name.size() > MaxNameKana)
        return NameProblem::TooLong;
    for (const QChar c : name) {
        if (!RegistrationKana.contains(c))
            return NameProblem::NotOnChart;
    }
    return NameProblem::None;
}

} // namespace moji
