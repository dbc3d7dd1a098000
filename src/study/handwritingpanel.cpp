#include "handwritingpanel.h"

#include "answerpanels.h"
#include "friendlybutton.h"
#include "pickerpanels.h"
#include "program.h"
#include "screenframe.h"
#include "studystate.h"
#include "strokediagram.h"
#include "writingsquare.h"
#include "wordbreaks.h"

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
// beside it, the pad's buttons on the right and the messages under the candidates. The
// stroke-order diagram takes the candidates' place, the messages then under it.
constexpr QRect PadArea(10, Top, 620, 262);
constexpr QRect SquareArea(12, 24, 226, 226);
constexpr int CandidateLeft = 254;
constexpr int CandidateTop = 24;
constexpr int CandidateSide = 56;
constexpr int CandidateStep = 60;
constexpr int ButtonLeft = 500;
constexpr QRect MessageArea(CandidateLeft, 148, ButtonLeft - 10 - CandidateLeft, 106);
constexpr QRect DiagramArea(250, 24, 186, 186);
constexpr QRect MessageUnderDiagram(250, 212, 608 - 250, 46);

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
    connect(m_square, &WritingSquare::strokeStarted, this, [this] {
        if (!m_pad.refused())
            forget(About::Writing);
    });
    connect(m_square, &WritingSquare::strokeFinished, this, &HandwritingPanel::afterStroke);

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
    m_check = friendlyButton(QStringLiteral("あってる？"), "Btn_Tegaki_Check", QRect(ButtonLeft, 162, 108, 40), 16, m_padGroup);
    m_check->setToolTip(QStringLiteral("かいた　かんじを　こたえと　くらべる"));
    m_check->setVisible(m_practice);
    for (QPushButton* b : {m_undo, m_clear, m_strokeOrder, m_check})
        useHandCursor(m_program, b);
    connect(m_undo, &QPushButton::clicked, this, [this] {
        m_pad.undo();
        forget(About::Writing);
        showCandidates();
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_pad.clear();
        forget(About::Writing);
        showCandidates();
    });
    connect(m_strokeOrder, &QPushButton::clicked, this, &HandwritingPanel::showStrokeOrder);
    connect(m_check, &QPushButton::clicked, this, &HandwritingPanel::checkWriting);

    m_diagram = new QLabel(m_padGroup);
    m_diagram->setObjectName(QStringLiteral("Img_Tegaki_Kakijun"));
    m_diagram->setGeometry(DiagramArea);
    m_diagram->hide();

    m_message = new QLabel(m_padGroup);
    m_message->setObjectName(QStringLiteral("Lbl_Tegaki_Message"));
    m_message->setGeometry(MessageArea);
    m_message->setFont(pixelFont(m_message->font(), 18));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QRect HandwritingPanel::inLayout(const QRect& design) const
{
    // Placed after the larger layout has grown the pad: grown alike.
    const double scale = m_program.state.LayoutScale > 1.0 ? m_program.state.LayoutScale : 1.0;
    return {scaled(design.x(), scale), scaled(design.y(), scale), scaled(design.width(), scale), scaled(design.height(), scale)};
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
        hideDiagram();
        if (open) {
            m_pad.open();
            useAnswer();
        }
        if (m_pad.unavailable())
            sayUnavailable();
        else
            say(QStringLiteral("かいた　かんじの　こうほが　でるよ。おすと　こたえに　はいるよ。"), Prompt);
        showCandidates();
    } else if (m_answer.answer() != m_lastAnswer) {
        // The answer changed beside the pad: the kanji taken last may be gone from it.
        m_pad.forgetTaken();
        forget(About::Writing);
        showCandidates();
    }
    m_lastAnswer = m_answer.answer();
    m_padGroup->setVisible(open);
}

void HandwritingPanel::setAnswer(const QString& kanji)
{
    m_answerKanji = m_practice ? kanji : QString();
    m_answerReady = false;
    m_pad.setAnswer({}, nullptr);
    if (m_padGroup->isVisible())
        useAnswer();
}

void HandwritingPanel::useAnswer()
{
    // Kakijun.dat is read at its first need, as the pad opens: a damaged one is reported then,
    // once, and the pad goes on without coaching.
    if (m_answerReady || m_answerKanji.isEmpty())
        return;
    m_answerReady = true;
    const handwriting::StrokeOrderTable* order = m_program.strokeOrder(m_padGroup->window());
    m_pad.setAnswer(m_answerKanji, order ? order->strokesOf(m_answerKanji) : nullptr);
}

void HandwritingPanel::showAnswer(const QString& kanji)
{
    if (!m_answer.padVisible()) {
        m_answer.choosePad();
        refresh();
        emit changed();
    }
    showDiagram(kanji, QStringLiteral("こたえの　かきじゅんを　よく　みて　かいてみよう！"));
}

void HandwritingPanel::afterStroke()
{
    showCandidates();
    if (m_pad.unavailable()) {
        sayUnavailable();
    } else if (m_pad.refused()) {
        say(QStringLiteral("これより　おおくは　かけないよ。「かきなおす」で　けしてから　かいてね"), Advice);
    } else if (m_pad.remark()) {
        // The coach: the writing is nearly the answer, but not quite.
        say(handwriting::strokeCheckMessage(*m_pad.remark()), Advice);
    }
}

void HandwritingPanel::checkWriting()
{
    using Verdict = handwriting::StrokeCheck::Verdict;
    useAnswer();
    const std::optional<handwriting::StrokeCheck> check = m_pad.check();
    if (!check)
        say(QStringLiteral("かいてから　おしてね"), Prompt);
    else if (check->verdict == Verdict::Right && check->difference > 0)
        say(QStringLiteral("ここまで　あってるよ。つづけて　かいてね"), Praise);
    else if (check->verdict == Verdict::Right)
        say(QStringLiteral("かきじゅんも　ばっちり！　こうほから　えらんでね"), Praise);
    else if (check->close())
        say(handwriting::strokeCheckMessage(*check), Advice);
    else
        say(handwriting::strokeCheckMessage({Verdict::Far, 0, 0, std::nullopt}), Advice);
    showCandidates();
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
    m_lastAnswer = m_answer.answer();
    if (taken.check && taken.check->verdict == handwriting::StrokeCheck::Verdict::Far) {
        say(QStringLiteral("「%1」を　こたえに　いれたよ。").arg(taken.kanji), Prompt);
    } else if (taken.check) {
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
    if (!m_diagramKanji.isEmpty()) {
        hideDiagram();
        return;
    }
    const QString answer = m_answer.answer();
    if (answer.isEmpty()) {
        say(QStringLiteral("こたえに　かんじを　いれると、その　かんじの　かきじゅんが　みられるよ。"), Prompt);
        return;
    }
    showDiagram(answer.right(1), {});
}

void HandwritingPanel::showDiagram(const QString& kanji, const QString& note)
{
    const handwriting::StrokeOrderTable* order = m_program.strokeOrder(m_padGroup->window());
    // Drawn for the screen's own pixels, so that the numbers stay sharp at any size.
    m_diagram->setGeometry(inLayout(DiagramArea));
    const double ratio = m_diagram->devicePixelRatioF();
    QImage picture = strokeDiagram(kanji, order ? order->strokesOf(kanji) : nullptr, int(m_diagram->width() * ratio));
    picture.setDevicePixelRatio(ratio);
    m_diagram->setPixmap(QPixmap::fromImage(picture));
    m_diagramKanji = kanji;
    for (QPushButton* b : m_candidates)
        b->hide();
    m_diagram->show();
    m_message->setGeometry(inLayout(MessageUnderDiagram));
    m_strokeOrder->setText(QStringLiteral("とじる"));
    m_strokeOrder->setToolTip(QStringLiteral("かきじゅんの　ずを　とじる"));
    say(note.isEmpty() ? strokeOrderCaption(m_program.state, kanji) : note, Prompt, About::Diagram);
}

void HandwritingPanel::hideDiagram()
{
    if (m_diagramKanji.isEmpty())
        return;
    m_diagramKanji.clear();
    m_diagram->hide();
    for (QPushButton* b : m_candidates)
        b->show();
    m_message->setGeometry(inLayout(MessageArea));
    m_strokeOrder->setText(QStringLiteral("かきじゅん"));
    m_strokeOrder->setToolTip(QStringLiteral("こたえに　いれた　かんじの　かきじゅんを　みる"));
    forget(About::Diagram);
}

void HandwritingPanel::sayUnavailable()
{
    say(QStringLiteral("いまは　てがきが　つかえないよ。ほかの　ボタンで　さがしてね"), Advice);
}

void HandwritingPanel::say(const QString& text, const QColor& colour, About about)
{
    QPalette pal = m_message->palette();
    pal.setColor(QPalette::WindowText, colour);
    m_message->setPalette(pal);
    m_message->setText(keepWordsWhole(text));
    m_about = about;
}

QString HandwritingPanel::message() const
{
    return withoutWordJoiners(m_message->text());
}

void HandwritingPanel::forget(About about)
{
    if (m_about != about)
        return;
    m_message->clear();
    m_about = About::Nothing;
}

} // namespace moji
