#include "friendlybutton.h"

#include "screenframe.h"

#include <QPushButton>

namespace moji {

QString friendlyButtonStyle()
{
    return QStringLiteral(
        "QPushButton, QToolButton { background: #fff8c0; color: #202060; border: 2px solid #f0c000; border-radius: 8px; }"
        "QPushButton:hover, QToolButton:hover { background: #ffe680; }"
        "QPushButton:pressed, QToolButton:pressed { background: #ffd040; }"
        // Greyed, so that a child sees at once which ones do nothing now.
        "QPushButton:disabled, QToolButton:disabled { background: #d8d6c8; color: #8a8aa0; border-color: #b8b4a0; }");
}

QPushButton* friendlyButton(const QString& text, const char* name, const QRect& geometry, int pixels, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setFont(pixelFont(b->font(), pixels));
    b->setFocusPolicy(Qt::NoFocus);
    b->setStyleSheet(friendlyButtonStyle());
    return b;
}

} // namespace moji
