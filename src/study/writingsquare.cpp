#include "writingsquare.h"

#include "handwritingpad.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace moji {

namespace {

const QColor Paper(255, 253, 240);
const QColor Guide(232, 150, 150);
const QColor Ink(30, 30, 50);

} // namespace

WritingSquare::WritingSquare(HandwritingPad& pad, QWidget* parent) : QWidget(parent), m_pad(pad)
{
    setObjectName(QStringLiteral("Img_Tegaki"));
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(QPen(QColor(240, 192, 0), 3));
    p.setBrush(Paper);
    p.drawRoundedRect(area, 8, 8);

    // The cross of writing paper, dashed, so that a child can place the parts of a kanji.
    QPen guide(Guide, 1.5, Qt::DashLine);
    p.setPen(guide);
    const QPointF c = area.center();
    p.drawLine(QPointF(c.x(), area.top() + 6), QPointF(c.x(), area.bottom() - 6));
    p.drawLine(QPointF(area.left() + 6, c.y()), QPointF(area.right() - 6, c.y()));

    if (m_pad.isEmpty()) {
        p.setPen(QColor(180, 170, 150));
        QFont f = font();
        f.setPixelSize(std::max(12, width() / 12));
        f.setBold(true);
        p.setFont(f);
        p.drawText(area.adjusted(0, 0, 0, -area.height() / 2 - 8), Qt::AlignHCenter | Qt::AlignBottom,
                   QStringLiteral("ここに　かいてね"));
        return;
    }

    const double ux = (width() - 1) / 255.0;
    const double uy = (height() - 1) / 255.0;
    QPen ink(Ink, std::max(3.0, width() / 36.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ink);
    p.setBrush(Qt::NoBrush);
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
    for (const handwriting::Stroke& s : m_pad.strokes())
        draw(s);
    draw(m_pad.drawing());
}

} // namespace moji
