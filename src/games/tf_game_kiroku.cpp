#include "tf_game_kiroku.h"

#include "clock.h"
#include "daynumber.h"
#include "errors.h"
#include "filestore.h"
#include "program.h"
#include "screenframe.h"
#include "studystate.h"
#include "wordbreaks.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace moji {

TF_Game_Kiroku::TF_Game_Kiroku(Program& program, int gameHintTopic, int score, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint), m_program(program)
{
    setObjectName(QStringLiteral("TF_Game_Kiroku"));
    setWindowTitle(QStringLiteral("もじまる"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ScreenFrame::Navy);
    setPalette(pal);
    setAutoFillBackground(true);

    // Laid out on the 640 x 480 design, which grows with the larger layout as the screens do.
    const double scale = program.state.LayoutScale > 1.0 ? program.state.LayoutScale : 1.0;
    auto* canvas = new QWidget(this);
    canvas->setFixedSize(scaled(ScreenFrame::DesignWidth, scale), scaled(ScreenFrame::DesignHeight, scale));
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(canvas, 0, Qt::AlignCenter);

    m_message = new QLabel(canvas);
    m_message->setObjectName(QStringLiteral("Lbl_Goukaku_Msg1"));
    m_message->setFont(pixelFont(font(), 19));
    m_message->setWordWrap(true);
    m_message->setGeometry(130, 40, 377, 50);
    auto* note = new QLabel(QStringLiteral("ゲームの記録は設定画面で消すことができます。"), canvas);
    note->setObjectName(QStringLiteral("Label1"));
    note->setFont(pixelFont(font(), 13));
    note->setStyleSheet(QStringLiteral("color: white;"));
    note->setGeometry(130, 96, 400, 20);

    m_list = new QTreeWidget(canvas);
    m_list->setObjectName(QStringLiteral("Lst_Kiroku"));
    m_list->setGeometry(85, 124, 474, 282);
    m_list->setRootIsDecorated(false);
    m_list->setFont(pixelFont(font(), 13));
    // Set here rather than left to the desktop's theme, so that the headings grow with the rows.
    m_list->header()->setFont(pixelFont(font(), 13, false));
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setStyleSheet(QStringLiteral("QTreeWidget::item { height: %1px; }").arg(scaled(24, scale)));
    m_list->setHeaderLabels({QString(), QStringLiteral("とくてん"), QStringLiteral("なまえ"), QStringLiteral("ひづけ")});
    const int widths[4] = {20, 100, 200, 150};
    for (int c = 0; c < 4; ++c) {
        m_list->setColumnWidth(c, scaled(widths[c], scale));
        m_list->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    }

    auto* back = new QPushButton(QStringLiteral("もどる"), canvas);
    back->setObjectName(QStringLiteral("BitBtn1"));
    back->setFont(pixelFont(font(), 16));
    back->setGeometry(270, 420, 100, 40);
    useHandCursor(program, back);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    if (scale > 1.0)
        scaleLayout(canvas, scale);

    // Read, rank and write the table before the pupil sees it.
    StudyState& s = program.state;
    const QString file = ScoreTable::fileName(gameHintTopic);
    const QString path = s.recordPath(file);
    const QDate today = daynumber::toDate(program.clock.now()).value_or(QDate::currentDate());
    try {
        std::vector<GameScoreRecord> stored;
        if (filestore::exists(path))
            stored = filestore::readRecords<GameScoreRecord>(path, file);
        const std::vector<ScoreRow> rows = ScoreTable::rank(stored, score, s.Roster[s.PlayerNo].Name, today);
        for (const ScoreRow& row : rows) {
            auto* item = new QTreeWidgetItem(m_list, {row.isNew ? QStringLiteral("＊") : QStringLiteral("  "),
                                                      QString::number(row.score), row.name.toUnicode(), row.date});
            for (int c = 1; c < 4; ++c)
                item->setTextAlignment(c, Qt::AlignCenter);
        }
        const int rowReached = ScoreTable::newRow(rows);
        m_message->setText(keepWordsWhole(ScoreTable::message(rowReached)));
        m_message->setStyleSheet(rowReached ? QStringLiteral("color: red;") : QStringLiteral("color: black; background: white;"));
        QByteArray bytes;
        for (const GameScoreRecord& r : ScoreTable::records(rows, today))
            bytes += r.encode();
        filestore::writeAtomically(path, file, bytes);
        m_ok = true;
    } catch (const DataError& e) {
        program.messages.error(parent, errorReportText(e));
    }
}

int TF_Game_Kiroku::exec()
{
    if (!m_ok) {
        QApplication::closeAllWindows();
        QApplication::quit();
        return QDialog::Rejected;
    }
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
    return QDialog::exec();
}

} // namespace moji
