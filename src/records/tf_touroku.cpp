#include "tf_touroku.h"

#include "errors.h"
#include "hintcontext.h"
#include "kanachart.h"
#include "program.h"
#include "studystate.h"

#include <QLabel>
#include <QPushButton>

namespace moji {

namespace {
constexpr int RegistrationHelpTopic = 32;

} // namespace

TF_Touroku::TF_Touroku(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::Registration, RegistrationHelpTopic, parent)
{
    setObjectName(QStringLiteral("TF_Touroku"));
    m_instruction = new QLabel(QStringLiteral("ボタンをおして名前をとうろくしてください。"), canvas());
    m_instruction->setObjectName(QStringLiteral("Label1"));
    m_instruction->setFont(pixelFont(font(), 24));
    m_instruction->setStyleSheet(QStringLiteral("color: yellow;"));
    m_instruction->move(10, 0);
    m_instruction->resize(m_instruction->sizeHint().width(), 32);
    // The header buttons sit under the instruction.
    addHeaderButtons(m_instruction->y() + m_instruction->height() + 10);

    QFont kanaFont = pixelFont(font(), 20);
    for (int i = 1; i <= 80; ++i) {
        auto* button = new QPushButton(RegistrationKana.mid(i - 1, 1), canvas());
        button->setObjectName(QStringLiteral("Btn_Moji%1").arg(i));
        button->setFont(kanaFont);
        button->setFocusPolicy(Qt::NoFocus);
        const int c = i % 5 == 0 ? 5 : i % 5;
        const int r = (i - 1) / 5;
        if (i <= 40)
            button->setGeometry(10 + (c - 1) * 40, 120 + r * 40, 40, 40);
        else
            button->setGeometry(230 + (c - 1) * 40, 120 + (r - 8) * 40, 40, 40);
        useHandCursor(program, button);
        connect(button, &QPushButton::clicked, this, [this, i] { Btn_MojiClick(i); });
        m_kana[std::size_t(i - 1)] = button;
    }

    lbl_Name = new QLabel(canvas());
    lbl_Name->setObjectName(QStringLiteral("lbl_Name"));
    QFont nameFont(QStringLiteral("IPAGothic"));
    nameFont.setStyleHint(QFont::Monospace);
    nameFont.setPixelSize(27);
    nameFont.setBold(true);
    lbl_Name->setFont(nameFont);
    lbl_Name->setStyleSheet(QStringLiteral("color: white; border-bottom: 2px solid white;"));
    lbl_Name->setGeometry(460, 104, 5 * 28 + 8, 36);

    btn_clear = new QPushButton(QStringLiteral("１もじけす"), canvas());
    btn_clear->setObjectName(QStringLiteral("btn_clear"));
    btn_clear->setFont(pixelFont(font(), 16));
    btn_clear->setGeometry(460, 200, 150, 40);
    btn_clear->hide();
    useHandCursor(program, btn_clear);
    connect(btn_clear, &QPushButton::clicked, this, &TF_Touroku::btn_clearClick);

    btn_Touroku = new QPushButton(QStringLiteral("とうろくする"), canvas());
    btn_Touroku->setObjectName(QStringLiteral("btn_Touroku"));
    btn_Touroku->setFont(pixelFont(font(), 16));
    btn_Touroku->setGeometry(460, 260, 150, 40);
    useHandCursor(program, btn_Touroku);
    connect(btn_Touroku, &QPushButton::clicked, this, &TF_Touroku::btn_TourokuClick);
}

QString TF_Touroku::name() const
{
    return lbl_Name->text();
}

void TF_Touroku::Btn_MojiClick(int button)
{
    if (m_length >= MaxNameKana) {
        program().messages.information(this, QStringLiteral("名前が長すぎます。"));
        return;
    }
    lbl_Name->setText(lbl_Name->text() + RegistrationKana.mid(button - 1, 1));
    ++m_length;
    btn_clear->show();
}

void TF_Touroku::btn_clearClick()
{
    if (m_length == 0)
        return;
    --m_length;
    lbl_Name->setText(lbl_Name->text().left(m_length));
    if (m_length == 0)
        btn_clear->hide();
}

void TF_Touroku::btn_TourokuClick()
{
    if (lbl_Name->text().isEmpty()) {
        program().messages.information(this, QStringLiteral("名前を登録してください。"));
    } else {
        try {
            program().state.RegisterPupil(SjisString<10>::fromUnicode(lbl_Name->text()));
        } catch (const FileError& e) {
            // The roster cannot be written and the pupil was not kept: the program ends, as on
            // any data file that fails.
            endProgramWithError(program(), this, fileErrorMessage(e.fileName()));
            return;
        } catch (const DataError& e) {
            program().messages.error(this, errorReportText(e));
        }
    }
    leave();
}

void TF_Touroku::onBack()
{
    leave();
}

void TF_Touroku::leave()
{
    close();
    if (program().navigator)
        program().navigator->show(Screen::MainMenu);
}

} // namespace moji
