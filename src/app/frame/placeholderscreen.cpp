#include "placeholderscreen.h"

#include "program.h"

#include <QLabel>

namespace moji {

PlaceholderScreen::PlaceholderScreen(Program& program, const QString& title, Screen backTo, QWidget* parent)
    : ScreenFrame(program, 1, 31, parent), m_backTo(backTo)
{
    setObjectName(QStringLiteral("PlaceholderScreen"));
    addHeaderButtons();
    auto* label = new QLabel(title + QStringLiteral("\n\nこのがめんは　じゅんびちゅうです。"), canvas());
    label->setAlignment(Qt::AlignCenter);
    QFont f = label->font();
    f.setPixelSize(24);
    f.setBold(true);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: yellow;"));
    label->setGeometry(0, 150, DesignWidth, 200);
}

void PlaceholderScreen::onBack()
{
    close();
    if (program().navigator)
        program().navigator->show(m_backTo);
}

} // namespace moji
