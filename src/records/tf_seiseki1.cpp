#include "tf_seiseki1.h"

#include "gradegrid.h"
#include "hintcontext.h"
#include "program.h"
#include "studystate.h"

#include <QLabel>

namespace moji {

namespace {

constexpr int RowHeight = 30;

} // namespace

TF_Seiseki1::TF_Seiseki1(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::GradesOverview, HelpTopic, parent)
{
    setObjectName(QStringLiteral("TF_Seiseki1"));
    setWindowTitle(QStringLiteral("もじまる"));
    const QLabel* title = addTitle(QStringLiteral("みんなのせいせきひょう"));
    addHeaderButtons();

    const StudyState& s = program.state;
    const int pupils = std::clamp<int>(s.PlayerCount, 0, MaxPlayers);
    m_grid = new GradeGrid({{QStringLiteral("No")},
                            {QStringLiteral("名前"), Qt::AlignLeft | Qt::AlignVCenter},
                            {QStringLiteral("レベル")}},
                           pupils, s.LayoutScale, canvas());
    m_grid->setFonts(font(), 18, 15);
    const int top = title->height() + 60;
    const int width = DesignWidth - 20;
    m_grid->setGeometry(10, top, width, DesignHeight - title->height() - 80);
    m_grid->setSizes(RowHeight, {30, width - 97, 60});
    // The row under the pointer lights up: it can be clicked.
    m_grid->setStyleSheet(m_grid->styleSheet() + QStringLiteral("QTableWidget::item:hover { background: #ffd966; }"));
    m_grid->setMouseTracking(true);
    useHandCursor(program, m_grid->viewport());
    for (int i = 1; i <= pupils; ++i) {
        const PlayerRecord& pupil = s.Roster[i];
        m_grid->setRow(i, {QString::number(i), pupil.Name.toUnicode(), QString::number(pupil.Level)});
    }
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int) { Grd_SeisekiClick(row + 1); });
}

void TF_Seiseki1::Grd_SeisekiClick(int r)
{
    if (r <= 0 || r > m_grid->rowCount())
        return;
    program().state.PlayerNo = int16_t(r);
    if (program().navigator)
        program().navigator->show(Screen::StudyHistory);
    hide();
}

void TF_Seiseki1::onBack()
{
    close();
    if (program().navigator)
        program().navigator->show(Screen::MainMenu);
}

} // namespace moji
