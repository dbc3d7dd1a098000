#include "tf_seiseki2.h"

#include "errors.h"
#include "gradegrid.h"
#include "hintcontext.h"
#include "program.h"
#include "studystate.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace moji {

namespace {

// Column widths in hundredths of the grid's width.
constexpr int ColumnPercent[TF_Seiseki2::Columns] = {4, 10, 8, 50, 8, 10, 8};

QPushButton* pageButton(const QString& text, const char* name, const QRect& geometry, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setFont(pixelFont(b->font(), 16));
    b->setFocusPolicy(Qt::NoFocus);
    b->hide();
    return b;
}

} // namespace

TF_Seiseki2::TF_Seiseki2(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::StudyHistory, HelpTopic, parent)
{
    setObjectName(QStringLiteral("TF_Seiseki2"));
    setWindowTitle(QStringLiteral("もじまる"));
    StudyState& s = program.state;
    const bool knownPupil = CheckedArray<PlayerRecord, 1, MaxPlayers>::contains(s.PlayerNo);
    const QString name = knownPupil ? s.Roster[s.PlayerNo].Name.toUnicode() : QString();
    QLabel* title = addTitle(name + QStringLiteral("のせいせきひょう"));
    addHeaderButtons();

    m_grid = new GradeGrid({{QStringLiteral("No")},
                            {QStringLiteral("年月日"), Qt::AlignCenter, 11, 80},
                            {QStringLiteral("レベル")},
                            {QStringLiteral("しゅつだいしたかんじ"), Qt::AlignLeft | Qt::AlignVCenter},
                            {QStringLiteral("読む/書く")},
                            {QStringLiteral("しゅるい"), Qt::AlignCenter, 11},
                            {QStringLiteral("ごうかく")}},
                           HistoryPages::RowsPerPage, s.LayoutScale, canvas());
    // The date and the session kind in a smaller, and the date in a narrower, type: a full
    // date and "チャレンジ" must fit their narrow columns.
    m_grid->setFonts(font(), 13, 11);
    m_grid->placeTwelveRows(QRect(10, title->height() + 60, DesignWidth - 30, DesignHeight - title->height() - 80),
                            ColumnPercent);

    // The page buttons sit beside the header buttons, where the grid leaves room.
    m_prev = pageButton(QStringLiteral("前のページ"), "Btn_Prev", QRect(340, 38, 135, 34), canvas());
    m_next = pageButton(QStringLiteral("次のページ"), "Btn_Next", QRect(485, 38, 135, 34), canvas());
    for (QPushButton* b : {m_prev, m_next})
        useHandCursor(program, b);
    connect(m_prev, &QPushButton::clicked, this, &TF_Seiseki2::Btn_PrevClick);
    connect(m_next, &QPushButton::clicked, this, &TF_Seiseki2::Btn_NextClick);

    try {
        if (!knownPupil)
            throw RangeError(QStringLiteral("PlayerNo = %1 outside 1..%2").arg(s.PlayerNo).arg(MaxPlayers));
        m_pages = std::make_unique<HistoryPages>(s, s.ReadHistory(s.PlayerNo));
    } catch (const DataError& e) {
        fail(e);
        return;
    }
    Read_Kiroku(PageStep::Next);
}

TF_Seiseki2::~TF_Seiseki2() = default;

void TF_Seiseki2::Read_Kiroku(PageStep step)
{
    if (!m_pages)
        return;
    std::vector<HistoryRow> rows;
    try {
        rows = step == PageStep::Next ? m_pages->nextPage() : m_pages->previousPage();
    } catch (const DataError& e) {
        fail(e);
        return;
    }
    for (int j = 1; j <= HistoryPages::RowsPerPage; ++j) {
        if (std::size_t(j) <= rows.size()) {
            const HistoryRow& r = rows[std::size_t(j - 1)];
            m_grid->setRow(j, {r.number, r.date, r.level, r.kanji, r.mode, r.kind, r.counted});
        } else {
            m_grid->clearRow(j);
        }
    }
    m_next->setVisible(m_pages->hasNext());
    m_prev->setVisible(m_pages->hasPrevious());
}

void TF_Seiseki2::Btn_NextClick()
{
    Read_Kiroku(PageStep::Next);
}

void TF_Seiseki2::Btn_PrevClick()
{
    Read_Kiroku(PageStep::Previous);
}

void TF_Seiseki2::fail(const DataError& error)
{
    // Nothing half-shown stays: the grid keeps only its headings.
    m_pages.reset();
    for (int j = 1; j <= HistoryPages::RowsPerPage; ++j)
        m_grid->clearRow(j);
    m_prev->hide();
    m_next->hide();
    const bool fileFailed = dynamic_cast<const FileError*>(&error) != nullptr;
    m_pendingReport = fileFailed ? fileErrorMessage(error.fileName()) : errorReportText(error);
    m_pendingEndsProgram = fileFailed;
    if (isVisible())
        reportFailure();
}

void TF_Seiseki2::showEvent(QShowEvent* event)
{
    ScreenFrame::showEvent(event);
    if (m_pendingReport)
        QTimer::singleShot(0, this, &TF_Seiseki2::reportFailure);
}

void TF_Seiseki2::reportFailure()
{
    if (!m_pendingReport)
        return;
    const QString text = *m_pendingReport;
    m_pendingReport.reset();
    program().messages.error(this, text);
    if (m_pendingEndsProgram) {
        // The history cannot be read: as with every data file, the program ends.
        QApplication::closeAllWindows();
        QApplication::quit();
    }
}

void TF_Seiseki2::onBack()
{
    close();
    if (program().navigator)
        program().navigator->show(Screen::GradesOverview);
}

} // namespace moji
