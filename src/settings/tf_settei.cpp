#include "tf_settei.h"

#include "errors.h"
#include "filestore.h"
#include "program.h"
#include "screenframe.h"
#include "tf_kanri.h"
#include "studystate.h"
#include "timelimits.h"
#include "updown.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace moji {

const QString TF_Settei::Game1File = QStringLiteral("Game1.dat");
const QString TF_Settei::Game2File = QStringLiteral("Game13.dat");

namespace {

QLabel* label(const QString& text, const char* name, QWidget* parent, const QPoint& at, int pixels = 0, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    if (pixels > 0)
        l->setFont(pixelFont(l->font(), pixels, bold));
    l->move(at);
    l->adjustSize();
    return l;
}

QLineEdit* minutesEdit(const char* name, QWidget* parent, const QRect& geometry)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setFont(pixelFont(e->font(), 16));
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setGeometry(geometry);
    return e;
}

} // namespace

TF_Settei::TF_Settei(Program& program, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_program(program)
{
    setObjectName(QStringLiteral("TF_Settei"));
    setWindowTitle(QStringLiteral("もじまる"));
    setAttribute(Qt::WA_DeleteOnClose, false); // whoever opens it owns it
    // Taller than the time limits alone need: the switches for parents sit under them.
    setFixedSize(427, 309);

    label(QStringLiteral("設定値を変更します。"), "Label1", this, {16, 10}, 16, true);
    QLabel* forParents = label(QStringLiteral("このがめんは、おとうさんやおかあさんにやってもらおうね。"), "Label5", this,
                               {16, 36}, 13, true);
    forParents->setStyleSheet(QStringLiteral("color: blue;"));
    label(QStringLiteral("回答時間（分）"), "Label2", this, {16, 66}, 13, true);

    label(QStringLiteral("読む問題"), "Label3", this, {30, 98});
    m_yomu = minutesEdit("Edt_Yomu_Time", this, QRect(96, 92, 52, 28));
    m_yomuArrows = new UpDown(m_yomu, MinMinutes, MaxMinutes, this);
    m_yomuArrows->setObjectName(QStringLiteral("UD_Yomu_Time"));
    m_yomuArrows->setGeometry(148, 92, 18, 28);
    label(QStringLiteral("書く問題"), "Label4", this, {30, 134});
    m_kaku = minutesEdit("Edt_Kaku_Time", this, QRect(96, 128, 52, 28));
    m_kakuArrows = new UpDown(m_kaku, MinMinutes, MaxMinutes, this);
    m_kakuArrows->setObjectName(QStringLiteral("UD_Kaku_Time"));
    m_kakuArrows->setGeometry(148, 128, 18, 28);
    for (UpDown* arrows : {m_yomuArrows, m_kakuArrows})
        arrows->setToolTip(QStringLiteral("１分間隔で増減します"));

    m_g1Clear = new QPushButton(QStringLiteral("漢字あわせの記録を消す"), this);
    m_g1Clear->setObjectName(QStringLiteral("Btn_G1_Clear"));
    m_g1Clear->setGeometry(196, 90, 215, 30);
    m_g2Clear = new QPushButton(QStringLiteral("漢字キャッチャーの記録を消す"), this);
    m_g2Clear->setObjectName(QStringLiteral("Btn_G2_Clear"));
    m_g2Clear->setGeometry(196, 126, 215, 30);
    for (QPushButton* b : {m_g1Clear, m_g2Clear})
        b->setAutoDefault(false);

    m_ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Btn_OK"));
    m_ok->setToolTip(QStringLiteral("設定値を変更します"));
    label(QStringLiteral("べんきょうのたすけ"), "Label6", this, {16, 166}, 13, true);
    m_handwriting = new QCheckBox(QStringLiteral("書く問題で手書きパッドを使う"), this);
    m_handwriting->setObjectName(QStringLiteral("Chk_Tegaki"));
    m_handwriting->setToolTip(QStringLiteral("切ると、漢字はボタンでさがすだけになります"));
    m_handwriting->setGeometry(30, 190, 380, 22);
    m_reviewHelp = new QCheckBox(QStringLiteral("ふくしゅうで２回まちがえたら答えを見せる"), this);
    m_reviewHelp->setObjectName(QStringLiteral("Chk_Kotae_Oshie"));
    m_reviewHelp->setToolTip(QStringLiteral("答えを見せても、自分で入れるまで先に進みません"));
    m_reviewHelp->setGeometry(30, 214, 380, 22);
    m_spacedReview = new QCheckBox(QStringLiteral("覚えた漢字のふくしゅう（わすれかけた漢字を出す）"), this);
    m_spacedReview->setObjectName(QStringLiteral("Chk_Fukushuu"));
    m_spacedReview->setToolTip(QStringLiteral("切ると、メニューのふくしゅうと、成績表の色分けが出なくなります"));
    m_spacedReview->setGeometry(30, 238, 380, 22);

    m_ok->setGeometry(222, 270, 90, 30);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("CANCEL"), this);
    m_cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    m_cancel->setToolTip(QStringLiteral("変更せずにメニューにもどる"));
    m_cancel->setGeometry(321, 270, 90, 30);
    m_cancel->setAutoDefault(false);
    // The parents' page sits on the left of the dialog's own buttons, wherever they are.
    m_pupilsButton = new QPushButton(QStringLiteral("子どもの登録を変える…"), this);
    m_pupilsButton->setObjectName(QStringLiteral("Btn_Kanri"));
    m_pupilsButton->setToolTip(QStringLiteral("名前を変える、記録を消す、登録を消す"));
    m_pupilsButton->setGeometry(16, m_ok->y(), 190, m_ok->height());
    m_pupilsButton->setAutoDefault(false);
    for (QPushButton* b : {m_ok, m_cancel, m_pupilsButton})
        useHandCursor(program, b);

    // The notice switch is kept out of reach: OK stores the current value back unchanged.
    m_pop = new QGroupBox(QStringLiteral("ポップアップメッセージの有無"), this);
    m_pop->setObjectName(QStringLiteral("Rad_Pop"));
    m_popOn = new QRadioButton(QStringLiteral("あり"), m_pop);
    m_popOff = new QRadioButton(QStringLiteral("なし"), m_pop);
    m_popOn->move(10, 20);
    m_popOff->move(10, 44);
    m_pop->setGeometry(width() + 20, 0, 180, 72);
    m_pop->hide();

    connect(m_ok, &QPushButton::clicked, this, &TF_Settei::Btn_OKClick);
    connect(m_cancel, &QPushButton::clicked, this, &TF_Settei::Btn_CancelClick);
    connect(m_pupilsButton, &QPushButton::clicked, this, [this] {
        TF_Kanri page(m_program, this);
        page.exec();
    });
    connect(m_g1Clear, &QPushButton::clicked, this, &TF_Settei::Btn_G1_ClearClick);
    connect(m_g2Clear, &QPushButton::clicked, this, &TF_Settei::Btn_G2_ClearClick);
}

void TF_Settei::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TF_Settei::FormShow()
{
    const StudyState& s = m_program.state;
    m_kaku->setText(QString::number(s.WriteTimeLimit));
    m_yomu->setText(QString::number(s.ReadTimeLimit));
    (s.PopupsOn ? m_popOn : m_popOff)->setChecked(true);
    m_handwriting->setChecked(s.HandwritingOn);
    m_reviewHelp->setChecked(s.ReviewHelpOn);
    m_spacedReview->setChecked(s.SpacedReviewOn);
    m_g1Clear->setVisible(filestore::exists(s.recordPath(Game1File)));
    m_g2Clear->setVisible(filestore::exists(s.recordPath(Game2File)));
}

int TF_Settei::popItemIndex() const
{
    if (m_popOn->isChecked())
        return 0;
    return m_popOff->isChecked() ? 1 : -1;
}

void TF_Settei::Btn_OKClick()
{
    // Both boxes are checked before anything changes: a refused value saves nothing.
    const auto writeTime = parseMinutes(m_kaku->text());
    const auto readTime = parseMinutes(m_yomu->text());
    if (!writeTime || !readTime) {
        QLineEdit* wrong = !writeTime ? m_kaku : m_yomu;
        m_program.messages.information(this, minutesRefusal(!writeTime ? QStringLiteral("書く問題") : QStringLiteral("読む問題")));
        wrong->setFocus();
        wrong->selectAll();
        return;
    }

    StudyState& s = m_program.state;
    const int16_t oldWrite = s.WriteTimeLimit;
    const int16_t oldRead = s.ReadTimeLimit;
    const bool oldPopups = s.PopupsOn;
    const bool oldHandwriting = s.HandwritingOn;
    const bool oldReviewHelp = s.ReviewHelpOn;
    const bool oldSpacedReview = s.SpacedReviewOn;
    s.WriteTimeLimit = *writeTime;
    s.ReadTimeLimit = *readTime;
    s.PopupsOn = popItemIndex() == 0;
    s.HandwritingOn = m_handwriting->isChecked();
    s.ReviewHelpOn = m_reviewHelp->isChecked();
    s.SpacedReviewOn = m_spacedReview->isChecked();
    try {
        s.SaveSettings();
    } catch (const DataError& e) {
        // Not saved: nothing changes, and the parent may try again or cancel.
        s.WriteTimeLimit = oldWrite;
        s.ReadTimeLimit = oldRead;
        s.PopupsOn = oldPopups;
        s.HandwritingOn = oldHandwriting;
        s.ReviewHelpOn = oldReviewHelp;
        s.SpacedReviewOn = oldSpacedReview;
        m_program.messages.error(this, errorReportText(e));
        return;
    }
    accept();
}

void TF_Settei::Btn_CancelClick()
{
    reject();
}

void TF_Settei::Btn_G1_ClearClick()
{
    clearScores(Game1File, QStringLiteral("漢字あわせの記録を全て消します。良いですか？"), m_g1Clear);
}

void TF_Settei::Btn_G2_ClearClick()
{
    clearScores(Game2File, QStringLiteral("漢字キャッチャーの記録を全て消します。良いですか？"), m_g2Clear);
}

void TF_Settei::clearScores(const QString& fileName, const QString& question, QPushButton* button)
{
    if (!m_program.messages.question(this, question))
        return;
    try {
        filestore::remove(m_program.state.recordPath(fileName), fileName);
    } catch (const FileError&) {
        // Still there: say so, and keep the button for another try.
        m_program.messages.error(this, fileErrorMessage(fileName));
        return;
    }
    button->hide();
}

} // namespace moji
