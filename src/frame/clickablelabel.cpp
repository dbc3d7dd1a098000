#include "clickablelabel.h"

#include <QMouseEvent>

#include <vector>

namespace moji {

ClickableLabel::ClickableLabel(const QString& text, int tag, QWidget* parent) : QLabel(text, parent), m_tag(tag)
{
    setMouseTracking(true);
}

void ClickableLabel::setTextColour(const QColor& colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QLabel::mousePressEvent(event);
}

void ClickableLabel::enterEvent(QEnterEvent* event)
{
    emit hovered();
    QLabel::enterEvent(event);
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event)
{
    emit hovered();
    event->accept();
}

QImage floodFilled(QImage image, QPoint seed, const QColor& colour)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    if (!image.rect().contains(seed))
        return image;
    const QRgb from = image.pixel(seed);
    const QRgb to = colour.rgb();
    if (from == to)
        return image;
    std::vector<QPoint> stack{seed};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        if (!image.rect().contains(p) || image.pixel(p) != from)
            continue;
        image.setPixel(p, to);
        stack.push_back({p.x() + 1, p.y()});
        stack.push_back({p.x() - 1, p.y()});
        stack.push_back({p.x(), p.y() + 1});
        stack.push_back({p.x(), p.y() - 1});
    }
    return image;
}

} // namespace moji
