#include "tf_saiten.h"

#include "errors.h"
#include "hintcontext.h"
#include "program.h"
#include "sessionresult.h"
#include "studystate.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include <algorithm>

namespace moji {

namespace {

constexpr int ScoringHelpTopic = 36;
const QColor FixedCells(105, 194, 214);
const QColor Cells(Qt::yellow);

} // namespace

TF_Saiten::TF_Saiten(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::Scoring, ScoringHelpTopic, parent), m_scoring(program.state)
{
    setObjectName(QStringLiteral("TF_Saiten"));
    m_title = addTitle(QStringLiteral("さあ、何点とれたかな？"));
    m_title->move(10, 8);

    m_score = new QLabel(canvas());
    m_score->setObjectName(QStringLiteral("Lbl_Tokuten"));
    m_score->setFont(pixelFont(font(), 27));
    m_score->setStyleSheet(QStringLiteral("color: white;"));
    m_score->setGeometry(420, 8, 200, m_title->height());

    // Just below the header-button row of the other screens.
    const int top = 30 + 48 + 2;
    const int width = DesignWidth - 20;
    const int height = DesignHeight - m_title->height() - 80;
    m_grid = new QTableWidget(11, 5, canvas());
    m_grid->setObjectName(QStringLiteral("Grd_Saiten"));
    m_grid->setGeometry(10, top, width, height);
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setFocusPolicy(Qt::NoFocus);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setFont(pixelFont(font(), 15));
    // Below the last row the window shows through, as under a grid of fixed rows.
    m_grid->setStyleSheet(QStringLiteral("QTableWidget { background: #000080; gridline-color: #606060; color: black; border: none; }"));
    // Rows and columns do not grow with the layout as the grid itself does: they take the scale here.
    const double scale = program.state.LayoutScale > 1.0 ? program.state.LayoutScale : 1.0;
    const int rowHeight = int(height / 12 * scale);
    for (int r = 0; r < 11; ++r)
        m_grid->setRowHeight(r, rowHeight);
    const int widths[5] = {30, width - 300, 100, 100, 60};
    for (int c = 0; c < 5; ++c)
        m_grid->setColumnWidth(c, int(widths[c] * scale));
    const char* const heads[5] = {"No", "もんだい", "あなたの答", "せいかい", "さいてん"};
    for (int r = 0; r < 11; ++r) {
        for (int c = 0; c < 5; ++c) {
            auto* cell = new QTableWidgetItem(r == 0 ? QString::fromUtf8(heads[c]) : QString());
            cell->setBackground(r == 0 || c == 0 ? FixedCells : Cells);
            cell->setTextAlignment(c == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            m_grid->setItem(r, c, cell);
        }
    }

    m_grid->viewport()->installEventFilter(this);
    setToolTip(QStringLiteral("クリックすると、さいごまで　すぐに　見られるよ"));

    m_timer.setInterval(RevealMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &TF_Saiten::Tim_SaitenTimer);
    m_timer.start();
}

void TF_Saiten::Tim_SaitenTimer()
{
    // Nothing is marked beneath a box; the reveal goes on when it is answered.
    if (m_finished || boxOpen())
        return;
    const auto row = m_scoring.nextRow();
    if (!row) {
        m_timer.stop();
        finish();
        return;
    }
    showRow(*row);
    program().playAnswerSound(row->correct);
}

void TF_Saiten::skipReveal()
{
    if (m_finished || boxOpen())
        return;
    // Every row left at once, without its sound; the next tick ends the scoring as usual, so
    // the final score is seen for a moment. A child who goes on clicking must not put that
    // tick off again and again: the clock that runs is left to run.
    while (const auto row = m_scoring.nextRow())
        showRow(*row);
    if (!m_timer.isActive())
        m_timer.start();
}

void TF_Saiten::showRow(const Scoring::Row& row)
{
    m_grid->item(row.number, 0)->setText(QString::number(row.number));
    m_grid->item(row.number, 1)->setText(row.question);
    // The asked word in red within the sentence, as the question showed it.
    QString rich;
    for (int i = 1; i <= 3; ++i) {
        const QString piece = row.pieces[std::size_t(i - 1)].toHtmlEscaped();
        rich += i == row.target ? QStringLiteral("<span style=\"color:#e00000\">%1</span>").arg(piece) : piece;
    }
    auto* sentence = new QLabel(rich);
    sentence->setObjectName(QStringLiteral("Lbl_Mondai%1").arg(row.number));
    sentence->setTextFormat(Qt::RichText);
    sentence->setAutoFillBackground(true);
    sentence->setStyleSheet(QStringLiteral("QLabel { background: %1; color: black; padding-left: 2px; }").arg(Cells.name()));
    sentence->setFont(m_grid->font());
    m_grid->setCellWidget(row.number, 1, sentence);
    m_grid->item(row.number, 2)->setText(row.given);
    m_grid->item(row.number, 3)->setText(row.answer);
    m_grid->item(row.number, 4)->setText(row.correct ? QStringLiteral("○") : QStringLiteral("×"));
    if (row.correct) {
        m_score->setText(m_scoring.scoreText());
        m_score->setStyleSheet(m_scoring.scoreIsRed() ? QStringLiteral("color: red;") : QStringLiteral("color: white;"));
    }
}

void TF_Saiten::mousePressEvent(QMouseEvent* event)
{
    skipReveal();
    ScreenFrame::mousePressEvent(event);
}

bool TF_Saiten::eventFilter(QObject* watched, QEvent* event)
{
    // A click on the grid is a click on the screen.
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonPress)
        skipReveal();
    return ScreenFrame::eventFilter(watched, event);
}

QPoint TF_Saiten::resultPlace(QSize frame) const
{
    // The score and the marks are what the pupil looks at: the result goes to the left of the
    // correct answers and below the grid's headings, as far as the screen allows.
    int answersLeft = 0;
    for (int c = 0; c < 3; ++c)
        answersLeft += m_grid->columnWidth(c);
    const QPoint corner = m_grid->viewport()->mapToGlobal(QPoint(answersLeft, m_grid->rowHeight(0)));
    const QRect screenArea = fullScreenRect(program());
    return {std::clamp(corner.x() - frame.width(), screenArea.left(), std::max(screenArea.left(), screenArea.right() + 1 - frame.width())),
            std::clamp(corner.y(), screenArea.top(), std::max(screenArea.top(), screenArea.bottom() + 1 - frame.height()))};
}

void TF_Saiten::finish()
{
    Program& p = program();
    StudyState& s = p.state;
    // A session is recorded at most once, and not at all while the program ends.
    if (m_finished || p.ending)
        return;
    m_finished = true;
    const Scoring::Ending ending = m_scoring.ending();
    try {
        if (ending == Scoring::Ending::Perfect)
            s.RecordSessionResult(true);
        else if (ending == Scoring::Ending::Failed)
            s.RecordSessionResult(false);
    } catch (const DataError& e) {
        endProgramWithError(p, this, errorReportText(e));
        return;
    }
    if (ending != Scoring::Ending::Passed)
        showSessionResult(p, this, [this](QSize frame) { return resultPlace(frame); });
    auto* session = qobject_cast<ScreenFrame*>(p.sessionScreen.data());
    if (ending == Scoring::Ending::Perfect || !session || p.ending) {
        // Done, or the session screen is gone: there is nothing left to review.
        if (session)
            session->close();
        if (p.navigator)
            p.navigator->show(Screen::ModeMenu);
    } else {
        s.RedoRound = true;
        if (p.maruPlayer)
            p.maruPlayer->stop();
        if (p.batsuPlayer)
            p.batsuPlayer->stop();
        session->showScreen();
    }
    close();
}

} // namespace moji
