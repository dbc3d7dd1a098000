#include "picturebutton.h"

#include <QPainter>

namespace moji {

PictureButton::PictureButton(const QPixmap& picture, int tag, QWidget* parent)
    : QAbstractButton(parent), m_picture(picture), m_tag(tag)
{
    setFocusPolicy(Qt::NoFocus);
    resize(48, 48);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_background);
    if (!m_picture.isNull())
        p.drawPixmap(rect(), m_picture);
    if (isDown())
        p.fillRect(rect(), QColor(255, 255, 255, 60));
}

} // namespace moji
