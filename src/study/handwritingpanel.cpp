#include "handwritingpanel.h"

#include "answerpanels.h"
#include "friendlybutton.h"
#include "pickerpanels.h"
#include "program.h"
#include "screenframe.h"
#include "studystate.h"
#include "tf_kakijun.h"
#include "writingsquare.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>

namespace moji {

namespace {

constexpr int Top = PickerPanels::Top;
// The pad in the picker space: the square on the left, the candidates in two rows of four
// beside it, the pad's buttons on the right and the messages under the candidates.
constexpr QRect PadArea(10, Top, 620, 262);
constexpr QRect SquareArea(12, 24, 226, 226);
constexpr int CandidateLeft = 254;
constexpr int CandidateTop = 24;
constexpr int CandidateSide = 56;
constexpr int CandidateStep = 60;
constexpr int ButtonLeft = 500;
constexpr int MessageTop = 166;

const QColor Prompt(220, 225, 255);
const QColor Praise(150, 240, 150);
const QColor Advice(255, 190, 110);

// A pencil writing a stroke on a sheet of paper: the picture of the "てがき" button.
QPixmap pencilPicture(int side)
{
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 64.0, side / 64.0);
    p.setPen(QPen(QColor(200, 160, 40), 2));
    p.setBrush(QColor(255, 253, 240));
    p.drawRoundedRect(QRectF(4, 10, 44, 48), 4, 4);
    p.setPen(QPen(QColor(30, 30, 50), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 26), QPointF(38, 26));
    p.drawLine(QPointF(25, 18), QPointF(25, 50));
    // The pencil, lying from the top right towards the end of the stroke.
    p.translate(40, 30);
    p.rotate(-45);
    p.setPen(QPen(QColor(90, 60, 20), 1.5));
    p.setBrush(QColor(250, 200, 60));
    p.drawRect(QRectF(6, -5, 26, 10));
    p.setBrush(QColor(240, 130, 150));
    p.drawRect(QRectF(32, -5, 6, 10));
    QPainterPath tip;
    tip.moveTo(6, -5);
    tip.lineTo(-6, 0);
    tip.lineTo(6, 5);
    tip.closeSubpath();
    p.setBrush(QColor(240, 215, 170));
    p.drawPath(tip);
    p.setBrush(QColor(30, 30, 50));
    p.drawEllipse(QPointF(-4.5, 0), 1.6, 1.6);
    return picture;
}

} // namespace

HandwritingPanel::HandwritingPanel(Program& program, AnswerPanels& answer, QWidget* canvas)
    : QObject(canvas), m_program(program), m_answer(answer), m_pad(*program.recognizer),
      m_practice(!program.state.SessionKind)
{
    buildOpenButton(canvas);
    buildPad(canvas);
    hideAll();
}

void HandwritingPanel::buildOpenButton(QWidget* canvas)
{
    // Between the radical groups and the stroke counts of the first view.
    m_openGroup = pickerGroup(QStringLiteral("てでかく"), canvas, QRect(296, Top, 124, 4 * 48 + 35), "Grp_Tegaki_Open");
    m_open = new QToolButton(m_openGroup);
    m_open->setObjectName(QStringLiteral("Btn_Tegaki"));
    m_open->setText(QStringLiteral("てがき"));
    m_open->setToolTip(QStringLiteral("じぶんで　かいて　かんじを　さがす"));
    m_open->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_open->setIcon(QIcon(pencilPicture(128)));
    m_open->setIconSize(QSize(64, 64));
    m_open->setFont(pixelFont(m_open->font(), 22));
    m_open->setGeometry(10, 28, 104, 186);
    m_open->setFocusPolicy(Qt::NoFocus);
    // The picture and the word together in the middle of the tall button.
    m_open->setStyleSheet(friendlyButtonStyle() + QStringLiteral("QToolButton { padding: 36px 0px; }"));
    useHandCursor(m_program, m_open);
    connect(m_open, &QToolButton::clicked, this, [this] {
        m_answer.choosePad();
        refresh();
        emit changed();
    });
}

void HandwritingPanel::buildPad(QWidget* canvas)
{
    m_padGroup = pickerGroup(QStringLiteral("てがきでかく"), canvas, PadArea, "Grp_Tegaki");
    m_square = new WritingSquare(m_pad, m_padGroup);
    m_square->setGeometry(SquareArea);
    connect(m_square, &WritingSquare::strokeFinished, this, [this] {
        showCandidates();
        if (m_pad.unavailable())
            sayUnavailable();
    });

    QFont kanjiFont = m_padGroup->font();
    kanjiFont.setPixelSize(34);
    kanjiFont.setBold(false);
    for (int i = 1; i <= HandwritingPad::MaxCandidates; ++i) {
        auto* b = new QPushButton(m_padGroup);
        b->setObjectName(QStringLiteral("Btn_Kouho%1").arg(i));
        const int column = (i - 1) % 4;
        const int row = (i - 1) / 4;
        b->setGeometry(CandidateLeft + column * CandidateStep, CandidateTop + row * CandidateStep, CandidateSide,
                       CandidateSide);
        b->setFont(kanjiFont);
        b->setFocusPolicy(Qt::NoFocus);
        b->setStyleSheet(QStringLiteral("QPushButton { background: white; color: #142060; border: 2px solid #8080c0;"
                                        " border-radius: 6px; }"
                                        "QPushButton:hover { background: #ffe680; border-color: #f0c000; }"
                                        "QPushButton:disabled { background: #303090; border: 1px dashed #6060b0; }"));
        useHandCursor(m_program, b);
        connect(b, &QPushButton::clicked, this, [this, i] { takeCandidate(i); });
        m_candidates[std::size_t(i - 1)] = b;
    }
    // The best candidate stands out.
    m_candidates[0]->setStyleSheet(m_candidates[0]->styleSheet()
                                   + QStringLiteral("QPushButton:enabled { border: 3px solid #f0c000; }"));

    m_undo = friendlyButton(QStringLiteral("ひとつけす"), "Btn_Tegaki_Undo", QRect(ButtonLeft, 24, 108, 40), 16, m_padGroup);
    m_undo->setToolTip(QStringLiteral("さいごに　かいた　せんを　けす"));
    m_clear = friendlyButton(QStringLiteral("かきなおす"), "Btn_Tegaki_Clear", QRect(ButtonLeft, 70, 108, 40), 16, m_padGroup);
    m_clear->setToolTip(QStringLiteral("ぜんぶ　けして　はじめから　かく"));
    m_strokeOrder = friendlyButton(QStringLiteral("かきじゅん"), "Btn_Kakijun", QRect(ButtonLeft, 116, 108, 40), 16, m_padGroup);
    m_strokeOrder->setToolTip(QStringLiteral("こたえに　いれた　かんじの　かきじゅんを　みる"));
    m_strokeOrder->setVisible(m_practice);
    for (QPushButton* b : {m_undo, m_clear, m_strokeOrder})
        useHandCursor(m_program, b);
    connect(m_undo, &QPushButton::clicked, this, [this] {
        m_pad.undo();
        showCandidates();
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_pad.clear();
        showCandidates();
    });
    connect(m_strokeOrder, &QPushButton::clicked, this, &HandwritingPanel::showStrokeOrder);

    m_message = new QLabel(m_padGroup);
    m_message->setObjectName(QStringLiteral("Lbl_Tegaki_Message"));
    // Under the candidates and the pad's buttons, across both.
    m_message->setGeometry(CandidateLeft, MessageTop, PadArea.width() - CandidateLeft - 12, PadArea.height() - MessageTop - 8);
    m_message->setFont(pixelFont(m_message->font(), 18));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void HandwritingPanel::hideAll()
{
    m_openGroup->hide();
    m_padGroup->hide();
}

void HandwritingPanel::refresh()
{
    m_openGroup->setVisible(m_answer.groupsVisible());
    const bool open = m_answer.padVisible();
    if (open == m_padGroup->isHidden()) {
        // Opened or closed: a fresh square either way. The model is read when the pad first
        // opens, not at start-up, and a pupil learns at once when it cannot be.
        m_pad.clear();
        if (open)
            m_pad.open();
        if (m_pad.unavailable())
            sayUnavailable();
        else
            say(QStringLiteral("かいた　かんじの　こうほが　でるよ。\nおすと　こたえに　はいるよ。"), Prompt);
        showCandidates();
    }
    m_padGroup->setVisible(open);
}

void HandwritingPanel::showCandidates()
{
    const std::vector<QString>& found = m_pad.candidates();
    for (int i = 1; i <= HandwritingPad::MaxCandidates; ++i) {
        QPushButton* b = m_candidates[std::size_t(i - 1)];
        const bool shown = i <= int(found.size());
        b->setText(shown ? found[std::size_t(i - 1)] : QString());
        b->setEnabled(shown);
    }
    m_undo->setEnabled(!m_pad.strokes().empty());
    m_clear->setEnabled(!m_pad.strokes().empty());
    m_square->update();
}

void HandwritingPanel::takeCandidate(int i)
{
    if (i > int(m_pad.candidates().size()))
        return;
    // Into the answer as a kanji button puts it; a full answer takes nothing more.
    if (!m_answer.addKanji(m_pad.candidates()[std::size_t(i - 1)])) {
        emit changed();
        return;
    }
    // In practice the strokes are compared with the kanji's stroke order; in a challenge the
    // kanji alone counts.
    const handwriting::StrokeOrderTable* order = m_practice ? m_program.strokeOrder(m_padGroup->window()) : nullptr;
    const HandwritingPad::Taken taken = m_pad.take(i - 1, order);
    if (taken.check) {
        const bool right = taken.check->verdict == handwriting::StrokeCheck::Verdict::Right;
        say(QStringLiteral("「%1」：").arg(taken.kanji) + handwriting::strokeCheckMessage(*taken.check),
            right ? Praise : Advice);
    } else {
        say(QStringLiteral("「%1」を　こたえに　いれたよ。").arg(taken.kanji), Prompt);
    }
    showCandidates();
    emit changed();
}

void HandwritingPanel::showStrokeOrder()
{
    const QString answer = m_answer.answer();
    if (answer.isEmpty()) {
        say(QStringLiteral("こたえに　かんじを　いれると、その　かんじの　かきじゅんが　みられるよ。"), Prompt);
        return;
    }
    TF_Kakijun::present(m_program, answer.right(1), {}, m_padGroup->window());
}

void HandwritingPanel::sayUnavailable()
{
    say(QStringLiteral("いまは　てがきが　つかえないよ。ほかの　ボタンで　さがしてね"), Advice);
}

void HandwritingPanel::say(const QString& text, const QColor& colour)
{
    QPalette pal = m_message->palette();
    pal.setColor(QPalette::WindowText, colour);
    m_message->setPalette(pal);
    m_message->setText(text);
}

} // namespace moji
