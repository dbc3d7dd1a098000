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
const QColor Missing(90, 140, 220);

} // namespace

void WritingSquare::drawMissing(QPainter& p, const handwriting::ReferenceStroke& stroke, int number, double inkWidth) const
{
    const double ux = (width() - 1) / 255.0;
    const double uy = (height() - 1) / 255.0;
    const QPointF from(stroke.start.x * ux, stroke.start.y * uy);
    const QPointF to(stroke.end.x * ux, stroke.end.y * uy);
    p.setPen(QPen(Missing, inkWidth, Qt::DashLine, Qt::RoundCap));
    p.drawLine(from, to);
    // Its number in a disc where the pen begins it, clear of the line.
    const double radius = std::max(9.0, width() / 20.0);
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    const QPointF away = length > 0 ? along * (-(radius + inkWidth) / length) : QPointF(0, -(radius + inkWidth));
    QPointF at = from + away;
    at.setX(std::clamp(at.x(), radius, width() - radius));
    at.setY(std::clamp(at.y(), radius, height() - radius));
    p.setPen(QPen(Missing, 2));
    p.setBrush(Paper);
    p.drawEllipse(at, radius, radius);
    QFont f = font();
    f.setPixelSize(int(radius * 1.25));
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter, QString::number(number));
    p.setBrush(Qt::NoBrush);
}

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
    emit strokeStarted();
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

    const bool taken = m_pad.isEmpty() && !m_pad.takenStrokes().empty();
    if (taken || m_pad.remark()) {
        // The writing a remark is about: the kanji just taken faint, or the strokes being
        // written in ink, with the stroke the remark blames in orange and a dot where the pen
        // began it, and a stroke that is missing drawn faintly where it belongs, numbered.
        const handwriting::Strokes& strokes = m_pad.remarkedStrokes();
        for (int i = 1; i <= int(strokes.size()); ++i) {
            const bool blamed = i == m_pad.blamedStroke();
            p.setPen(QPen(blamed ? Blamed : taken ? Faint : Ink, inkWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            draw(strokes[std::size_t(i - 1)]);
            if (blamed && !strokes[std::size_t(i - 1)].empty()) {
                const handwriting::Point& start = strokes[std::size_t(i - 1)].front();
                p.setPen(Qt::NoPen);
                p.setBrush(Blamed);
                p.drawEllipse(QPointF(start.x * ux, start.y * uy), inkWidth * 1.4, inkWidth * 1.4);
                p.setBrush(Qt::NoBrush);
            }
        }
        if (m_pad.remark() && m_pad.remark()->missingAt)
            drawMissing(p, *m_pad.remark()->missingAt, m_pad.remark()->stroke, inkWidth);
        if (taken)
            return;
        p.setPen(QPen(Ink, inkWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        draw(m_pad.drawing());
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
