#include "writingsquare.h"

#include "handwritingpad.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace moji {

namespace {

const QColor Paper(255, 253, 240);
const QColor Guide(232, 150, 150);
const QColor Ink(30, 30, 50);
const QColor Faint(175, 180, 205);
const QColor Blamed(240, 130, 30);

} // namespace

WritingSquare::WritingSquare(HandwritingPad& pad, QWidget* parent) : QWidget(parent), m_pad(pad)
{
    setObjectName(QStringLiteral("Img_Tegaki"));
    setCursor(Qt::CrossCursor);
}

void WritingSquare::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pad.penDown(HandwritingPad::toSquare(event->position(), size()));
    update();
}

void WritingSquare::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    m_pad.penMove(HandwritingPad::toSquare(event->position(), size()));
    update();
}

void WritingSquare::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pad.penUp();
    update();
    emit strokeFinished();
}

void WritingSquare::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(QPen(QColor(240, 192, 0), 3));
    p.setBrush(Paper);
    p.drawRoundedRect(area, 8, 8);

    // The cross of writing paper, dashed, so that a child can place the parts of a kanji.
    QPen guide(Guide, 1.5, Qt::DashLine);
    p.setPen(guide);
    const QPointF c = area.center();
    p.drawLine(QPointF(c.x(), area.top() + 6), QPointF(c.x(), area.bottom() - 6));
    p.drawLine(QPointF(area.left() + 6, c.y()), QPointF(area.right() - 6, c.y()));

    const double ux = (width() - 1) / 255.0;
    const double uy = (height() - 1) / 255.0;
    const double inkWidth = std::max(3.0, width() / 36.0);
    auto draw = [&](const handwriting::Stroke& stroke) {
        if (stroke.empty())
            return;
        const QPointF first(stroke.front().x * ux, stroke.front().y * uy);
        if (stroke.size() == 1) {
            p.drawPoint(first);
            return;
        }
        QPainterPath path(first);
        for (std::size_t i = 1; i < stroke.size(); ++i)
            path.lineTo(stroke[i].x * ux, stroke[i].y * uy);
        p.drawPath(path);
    };
    p.setBrush(Qt::NoBrush);

    if (m_pad.isEmpty() && !m_pad.takenStrokes().empty()) {
        // The kanji just taken, faint, with the stroke a remark is about in orange and a dot
        // where the pen began it.
        const handwriting::Strokes& taken = m_pad.takenStrokes();
        for (int i = 1; i <= int(taken.size()); ++i) {
            const bool blamed = i == m_pad.blamedStroke();
            p.setPen(QPen(blamed ? Blamed : Faint, inkWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            draw(taken[std::size_t(i - 1)]);
            if (blamed && !taken[std::size_t(i - 1)].empty()) {
                const handwriting::Point& start = taken[std::size_t(i - 1)].front();
                p.setPen(Qt::NoPen);
                p.setBrush(Blamed);
                p.drawEllipse(QPointF(start.x * ux, start.y * uy), inkWidth * 1.4, inkWidth * 1.4);
                p.setBrush(Qt::NoBrush);
            }
        }
        return;
    }
    if (m_pad.isEmpty()) {
        QFont f = font();
        f.setPixelSize(std::max(12, width() / 12));
        f.setBold(true);
        p.setFont(f);
        // On a patch of paper, so that the guide line does not cut through the words.
        const QString prompt = QStringLiteral("ここに　かいてね");
        QRectF box = QFontMetricsF(f).boundingRect(prompt).adjusted(-6, -3, 6, 3);
        box.moveCenter(QPointF(c.x(), area.top() + area.height() / 4));
        p.setBrush(Paper);
        p.setPen(Qt::NoPen);
        p.drawRect(box);
        p.setPen(QColor(180, 170, 150));
        p.drawText(box, Qt::AlignCenter, prompt);
        return;
    }

    p.setPen(QPen(Ink, inkWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const handwriting::Stroke& s : m_pad.strokes())
        draw(s);
    draw(m_pad.drawing());
}

} // namespace moji
