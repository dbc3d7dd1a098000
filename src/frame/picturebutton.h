#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace moji {

// A 48 x 48 picture that acts as a button: the header commands of every screen and the eight
// commands of the main menu. Its tag is the command number.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    PictureButton(const QPixmap& picture, int tag, QWidget* parent);
    int tag() const { return m_tag; }
    void setBackground(const QColor& colour) { m_background = colour; }
    QSize sizeHint() const override { return {48, 48}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_picture;
    int m_tag;
    QColor m_background{0, 0, 128};
};

} // namespace moji
