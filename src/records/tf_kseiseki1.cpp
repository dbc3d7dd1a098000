#include "tf_kseiseki1.h"

#include "gradegrid.h"
#include "hintcontext.h"
#include "kanjigrades.h"
#include "program.h"
#include "review.h"
#include "studystate.h"

#include <QLabel>
#include <QScrollBar>

namespace moji {

const QColor TF_KSeiseki1::FadingColour(255, 190, 120);

namespace {

// Column widths in hundredths of the grid's width.
constexpr int ColumnPercent[TF_KSeiseki1::Columns] = {5, 10, 10, 15, 20, 20, 15};

} // namespace

TF_KSeiseki1::TF_KSeiseki1(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::KanjiGrades, HelpTopic, parent)
{
    setObjectName(QStringLiteral("TF_KSeiseki1"));
    setWindowTitle(QStringLiteral("もじまる"));
    const QLabel* title = addTitle(QStringLiteral("かんじべつのせいせきひょう"));
    addHeaderButtons();

    const StudyState& s = program.state;
    m_grid = new GradeGrid({{QStringLiteral("No")},
                            {QStringLiteral("レベル")},
                            {QStringLiteral("かんじ"), Qt::AlignCenter, 20},
                            {QStringLiteral("しゅるい")},
                            {QStringLiteral("しけん回数")},
                            {QStringLiteral("ごうかく回数")},
                            {QStringLiteral("レベルクリアー")}},
                           2 * KanjiCount, s.LayoutScale, canvas());
    // The kanji themselves a little larger than the rest.
    m_grid->setFonts(font(), 15, 13);
    m_grid->placeTwelveRows(QRect(10, title->height() + 60, DesignWidth - 30, DesignHeight - title->height() - 80),
                            ColumnPercent);
    // The grid is for reading and scrolling; the wheel and the keys move it.
    m_grid->setFocusPolicy(Qt::WheelFocus);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    for (const KanjiGradeRow& r : kanjiGradeRows(s)) {
        m_grid->setRow(r.rowNo, {QString::number(r.rowNo), QString::number(r.level), r.glyph, r.kind,
                                 QString::number(r.asked), QString::number(r.correct),
                                 r.cleared ? QStringLiteral("○") : QString()});
        if (QTableWidgetItem* mark = m_grid->item(r.rowNo - 1, 6))
            mark->setForeground(QColor(200, 0, 0));
    }
    if (s.SpacedReviewOn)
        markFading();
}

void TF_KSeiseki1::markFading()
{
    Program& p = program();
    const StudyState& s = p.state;
    std::vector<memory::LearnedKanji> learned;
    try {
        learned = memory::learnedByRecall(memory::selectedPupilMemory(p.memory, s), s.CurrentLevel, s.StudyMode,
                                          memory::today(p.clock));
    } catch (const DataError&) {
        return; // the grades stand without the marks
    }
    for (const memory::LearnedKanji& l : learned) {
        if (l.recall >= memory::TargetRecall)
            continue;
        const int rowNo = 2 * (l.kanjiNo - FirstKanjiNo) + l.mode;
        if (QTableWidgetItem* kanji = m_grid->item(rowNo - 1, 2)) {
            kanji->setBackground(FadingColour);
            kanji->setToolTip(QStringLiteral("わすれかけているよ。ふくしゅうしよう！"));
        }
    }
    // What the colour means, right of the header buttons: a patch of it and its words.
    auto* patch = new QLabel(canvas());
    patch->setObjectName(QStringLiteral("Lbl_Fading_Colour"));
    patch->setGeometry(350, 45, 26, 18);
    patch->setStyleSheet(QStringLiteral("background: %1; border: 1px solid #6a6a6a;").arg(FadingColour.name()));
    auto* key = new QLabel(QStringLiteral("＝　わすれかけている　かんじ"), canvas());
    key->setObjectName(QStringLiteral("Lbl_Fading"));
    key->setFont(pixelFont(font(), 14));
    key->setStyleSheet(QStringLiteral("color: white;"));
    key->adjustSize();
    // As wide as the rest of the screen: the larger layout grows the words more than the box,
    // which cut off the last character's right edge (じ read as し).
    const int left = patch->geometry().right() + 8;
    key->setGeometry(left, patch->geometry().center().y() - key->height() / 2, DesignWidth - 8 - left, key->height());
}

bool TF_KSeiseki1::fading(int rowNo) const
{
    const QTableWidgetItem* kanji = m_grid->item(rowNo - 1, 2);
    return kanji && kanji->background().color() == FadingColour;
}

void TF_KSeiseki1::onBack()
{
    close();
    if (program().navigator)
        program().navigator->show(Screen::ModeMenu);
}

} // namespace moji
