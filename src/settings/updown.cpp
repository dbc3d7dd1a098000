#include "updown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace moji {

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_minimum(minimum), m_maximum(maximum), m_position(minimum)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto arrow = [this, layout](Qt::ArrowType type, const char* name, int step) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setArrowType(type);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(b, &QToolButton::clicked, this, [this, step] { stepBy(step); });
        layout->addWidget(b);
        return b;
    };
    m_up = arrow(Qt::UpArrow, "up", +1);
    m_down = arrow(Qt::DownArrow, "down", -1);
}

void UpDown::stepBy(int step)
{
    bool ok = false;
    const qint64 typed = m_buddy->text().trimmed().toLongLong(&ok);
    const qint64 from = ok ? typed : m_position;
    m_position = int(std::clamp<qint64>(from + step, m_minimum, m_maximum));
    m_buddy->setText(QString::number(m_position));
}

} // namespace moji
