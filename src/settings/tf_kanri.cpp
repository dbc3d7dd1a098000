#include "tf_kanri.h"

#include "errors.h"
#include "kanachart.h"
#include "memorychart.h"
#include "program.h"
#include "screenframe.h"
#include "studystate.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace moji {

TF_Kanri::TF_Kanri(Program& program, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_program(program)
{
    setObjectName(QStringLiteral("TF_Kanri"));
    setWindowTitle(QStringLiteral("もじまる"));

    auto* title = new QLabel(QStringLiteral("登録した子どもの名前と記録"), this);
    title->setFont(pixelFont(title->font(), 16));
    auto* forParents = new QLabel(QStringLiteral("このがめんは、おとうさんやおかあさんにやってもらおうね。"), this);
    forParents->setFont(pixelFont(forParents->font(), 13));
    forParents->setStyleSheet(QStringLiteral("color: blue;"));

    m_pupils = new QListWidget(this);
    m_pupils->setObjectName(QStringLiteral("Lst_Pupils"));
    m_pupils->setFont(pixelFont(m_pupils->font(), 15, false));
    m_pupils->setMinimumSize(200, 150);

    auto* nameLabel = new QLabel(QStringLiteral("新しい名前（ひらがな５文字まで）"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edt_Name"));
    m_name->setFont(pixelFont(m_name->font(), 16, false));
    m_rename = new QPushButton(QStringLiteral("名前を変える"), this);
    m_rename->setObjectName(QStringLiteral("Btn_Rename"));
    m_reset = new QPushButton(QStringLiteral("記録を消して、はじめからにする"), this);
    m_reset->setObjectName(QStringLiteral("Btn_Reset"));
    m_reset->setToolTip(QStringLiteral("消した記録は控えのファイルに残ります"));
    m_remove = new QPushButton(QStringLiteral("登録を消す"), this);
    m_remove->setObjectName(QStringLiteral("Btn_Remove"));
    m_remove->setToolTip(QStringLiteral("学習の記録は控えのファイルに残ります"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("Btn_Close"));
    for (QPushButton* b : {m_rename, m_reset, m_remove, close}) {
        b->setAutoDefault(false);
        useHandCursor(program, b);
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(title, 0, 0, 1, 2);
    grid->addWidget(forParents, 1, 0, 1, 2);
    grid->addWidget(m_pupils, 2, 0, 7, 1);
    grid->addWidget(nameLabel, 2, 1);
    grid->addWidget(m_name, 3, 1);
    grid->addWidget(m_rename, 4, 1);
    grid->setRowMinimumHeight(5, 16);
    grid->addWidget(m_reset, 6, 1);
    grid->addWidget(m_remove, 7, 1);
    grid->setRowStretch(8, 1);
    auto* chartTitle = new QLabel(QStringLiteral("覚えている漢字（週ごと、この４か月）"), this);
    chartTitle->setFont(pixelFont(chartTitle->font(), 13));
    m_chart = new MemoryChart(this);
    m_chart->setToolTip(QStringLiteral("思い出せる見こみが９割以上の漢字を「覚えている」と数えます"));
    grid->addWidget(chartTitle, 9, 0, 1, 2);
    grid->addWidget(m_chart, 10, 0, 1, 2);
    grid->addWidget(recordsFolderLine(), 11, 0, 1, 2);
    grid->addWidget(close, 12, 1, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_rename, &QPushButton::clicked, this, &TF_Kanri::Btn_RenameClick);
    connect(m_name, &QLineEdit::returnPressed, this, &TF_Kanri::Btn_RenameClick);
    connect(m_reset, &QPushButton::clicked, this, &TF_Kanri::Btn_ResetClick);
    connect(m_remove, &QPushButton::clicked, this, &TF_Kanri::Btn_RemoveClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pupils, &QListWidget::currentRowChanged, this, &TF_Kanri::updateButtons);
    connect(m_pupils, &QListWidget::currentRowChanged, this, &TF_Kanri::showChart);
    showPupils(1);
}

QWidget* TF_Kanri::recordsFolderLine()
{
    // Where the roster and histories of these pupils are, so that a parent sharing a folder
    // between logins can see which one this login uses. Long paths lose their middle; the
    // whole path is in the tip and can be selected and copied.
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(m_program.state.recordsFolder()));
    auto* line = new QLabel(this);
    line->setObjectName(QStringLiteral("Lbl_RecordsFolder"));
    line->setFont(pixelFont(line->font(), 12, false));
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    line->setToolTip(folder);
    const QString caption = QStringLiteral("記録のフォルダー：");
    const int room = 460 - line->fontMetrics().horizontalAdvance(caption);
    line->setText(caption + line->fontMetrics().elidedText(folder, Qt::ElideMiddle, room));
    return line;
}

void TF_Kanri::showPupils(int select)
{
    const StudyState& s = m_program.state;
    m_pupils->clear();
    for (int p = 1; p <= s.PlayerCount; ++p) {
        const PlayerRecord& r = s.Roster[p];
        const QString step = r.Level > MaxLevel ? QStringLiteral("ぜんぶおわり")
                                                : QStringLiteral("レベル%1 %2").arg(r.Level).arg(r.Mode == 1 ? QStringLiteral("よむ") : QStringLiteral("かく"));
        m_pupils->addItem(QStringLiteral("%1. %2（%3）").arg(p).arg(pupilName(p), step));
    }
    if (s.PlayerCount == 0)
        m_pupils->addItem(QStringLiteral("まだだれも登録していません"));
    m_pupils->setCurrentRow(s.PlayerCount > 0 ? std::clamp(select, 1, int(s.PlayerCount)) - 1 : -1);
    updateButtons();
    showChart(); // a reset pupil's chart starts again
}

int TF_Kanri::selectedPupil() const
{
    const int row = m_pupils->currentRow();
    return row >= 0 && row < m_program.state.PlayerCount ? row + 1 : 0;
}

QString TF_Kanri::pupilName(int p) const
{
    return m_program.state.Roster[p].Name.toUnicode().trimmed();
}

void TF_Kanri::showChart()
{
    constexpr int Weeks = 17; // four months, both ends included
    const int p = selectedPupil();
    if (p == 0) {
        m_chart->setWeeks({}, QString());
        return;
    }
    try {
        m_chart->setWeeks(memory::rememberedByWeek(m_program.state.ReadHistory(p), memory::today(m_program.clock), Weeks),
                          QStringLiteral("まだ学習の記録がありません"));
    } catch (const DataError&) {
        m_chart->setWeeks({}, QStringLiteral("学習の記録が読めませんでした"));
    }
}

void TF_Kanri::updateButtons()
{
    const bool chosen = selectedPupil() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{m_name, m_rename, m_reset, m_remove})
        w->setEnabled(chosen);
}

bool TF_Kanri::changeRecords(const std::function<void()>& change)
{
    try {
        change();
        return true;
    } catch (const FileError& e) {
        endProgramWithError(m_program, this, fileErrorMessage(e.fileName()));
    } catch (const DataError& e) {
        m_program.messages.error(this, errorReportText(e));
    }
    return false;
}

void TF_Kanri::Btn_RenameClick()
{
    const int p = selectedPupil();
    if (p == 0)
        return;
    const QString name = m_name->text().trimmed();
    switch (checkPupilName(name)) {
    case NameProblem::Empty:
        m_program.messages.information(this, QStringLiteral("新しい名前を入れてください。"));
        return;
    case NameProblem::TooLong:
        m_program.messages.information(this, QStringLiteral("名前が長すぎます。"));
        return;
    case NameProblem::NotOnChart:
        m_program.messages.information(this, QStringLiteral("名前は、とうろくのがめんにあるひらがなで入れてください。"));
        return;
    case NameProblem::None:
        break;
    }
    if (!m_program.messages.question(this, QStringLiteral("「%1」の名前を「%2」に変えます。よろしいですか？").arg(pupilName(p), name)))
        return;
    if (changeRecords([&] { m_program.state.RenamePupil(p, SjisString<10>::fromUnicode(name)); })) {
        m_name->clear();
        showPupils(p);
    }
}

void TF_Kanri::Btn_ResetClick()
{
    takeHistoryAway(QStringLiteral("「%1」の学習の記録を消して、レベル１のはじめからにします。よろしいですか？"), &StudyState::ResetPupil);
}

void TF_Kanri::Btn_RemoveClick()
{
    takeHistoryAway(QStringLiteral("「%1」の登録を消します。よろしいですか？"), &StudyState::RemovePupil);
}

void TF_Kanri::takeHistoryAway(const QString& question, QString (StudyState::*change)(int))
{
    const int p = selectedPupil();
    if (p == 0 || !m_program.messages.question(this, question.arg(pupilName(p))))
        return;
    QString backup;
    if (!changeRecords([&] { backup = (m_program.state.*change)(p); }))
        return;
    showPupils(p);
    if (!backup.isEmpty())
        m_program.messages.information(this, QStringLiteral("これまでの記録は、控えのファイル「%1」に残しました。").arg(backup));
}

} // namespace moji
