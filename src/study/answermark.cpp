#include "answermark.h"

#include "screenframe.h"

namespace moji {

namespace {
constexpr int MarkSize = 120;
constexpr int BoxPollMilliseconds = 100;
} // namespace

AnswerMark::AnswerMark(QWidget* parent, QPoint centre, const QRect& guarded) : QLabel(parent), m_guard(new QWidget(parent))
{
    setObjectName(QStringLiteral("Lbl_Maru_Batsu"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAlignment(Qt::AlignCenter);
    setFont(pixelFont(font(), MarkSize - 10));
    setGeometry(centre.x() - MarkSize / 2, centre.y() - MarkSize / 2, MarkSize, MarkSize);
    hide();
    // An invisible pane over the pickers and the answer that takes the clicks of that second.
    m_guard->setObjectName(QStringLiteral("markGuard"));
    m_guard->setGeometry(guarded);
    m_guard->hide();
    m_hide.setSingleShot(true);
    connect(&m_hide, &QTimer::timeout, this, &AnswerMark::timeUp);
}

void AnswerMark::showVerdict(bool correct, std::function<void()> then)
{
    // Red ○ and blue × as a teacher marks them.
    setText(correct ? QStringLiteral("○") : QStringLiteral("×"));
    setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(correct ? QStringLiteral("#e8202a") : QStringLiteral("#1f4fd8")));
    m_then = std::move(then);
    m_guard->raise();
    m_guard->show();
    raise();
    show();
    m_hide.start(ShowMilliseconds);
}

void AnswerMark::timeUp()
{
    if (boxOpen()) {
        m_hide.start(BoxPollMilliseconds);
        return;
    }
    hide();
    m_guard->hide();
    if (auto then = std::exchange(m_then, nullptr))
        then();
}

} // namespace moji
