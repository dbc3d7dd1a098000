#include "answermark.h"

#include "screenframe.h"

namespace moji {

namespace {
constexpr int MarkSize = 120;
}

AnswerMark::AnswerMark(QWidget* parent, QPoint centre) : QLabel(parent)
{
    setObjectName(QStringLiteral("Lbl_Maru_Batsu"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAlignment(Qt::AlignCenter);
    setFont(pixelFont(font(), MarkSize - 10));
    setGeometry(centre.x() - MarkSize / 2, centre.y() - MarkSize / 2, MarkSize, MarkSize);
    hide();
    m_hide.setSingleShot(true);
    m_hide.setInterval(ShowMilliseconds);
    connect(&m_hide, &QTimer::timeout, this, &QWidget::hide);
}

void AnswerMark::showVerdict(bool correct)
{
    // Red ○ and blue × as a teacher marks them.
    setText(correct ? QStringLiteral("○") : QStringLiteral("×"));
    setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(correct ? QStringLiteral("#e8202a") : QStringLiteral("#1f4fd8")));
    raise();
    show();
    m_hide.start();
}

} // namespace moji
