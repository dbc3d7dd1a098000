#include "memorychart.h"

#include "daynumber.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace moji {

namespace {

const QColor ModeColours[2] = {QColor(32, 96, 192), QColor(208, 96, 0)};
const QColor GridColour(220, 220, 220);

// The top of the scale: the next multiple of 20 above the largest count, at least 20.
int scaleTop(const std::vector<memory::WeekCount>& weeks)
{
    int most = 0;
    for (const memory::WeekCount& w : weeks)
        most = std::max({most, w.learned[0], w.learned[1]});
    return std::max(20, (most + 19) / 20 * 20);
}

} // namespace

MemoryChart::MemoryChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Img_Kioku"));
    setMinimumSize(360, 130);
}

void MemoryChart::setWeeks(std::vector<memory::WeekCount> weeks, const QString& note)
{
    m_weeks = std::move(weeks);
    m_note = note;
    update();
}

void MemoryChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    QFont small = font();
    small.setPixelSize(11);
    p.setFont(small);
    const QFontMetrics metrics(small);

    // The key along the top.
    int x = 8;
    const int keyY = 6 + metrics.ascent();
    const char* const modeNames[2] = {"読み", "書き"};
    for (int m = 0; m < 2; ++m) {
        p.setPen(QPen(ModeColours[m], 3));
        p.drawLine(x, keyY - 4, x + 16, keyY - 4);
        p.setPen(Qt::black);
        p.drawText(x + 20, keyY, QString::fromUtf8(modeNames[m]));
        x += 24 + metrics.horizontalAdvance(QString::fromUtf8(modeNames[m])) + 8;
    }
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(x, keyY - 4, x + 16, keyY - 4);
    const QString remembered = QStringLiteral("覚えている");
    p.drawText(x + 20, keyY, remembered);
    x += 24 + metrics.horizontalAdvance(remembered) + 8;
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawLine(x, keyY - 4, x + 16, keyY - 4);
    p.setPen(Qt::black);
    p.drawText(x + 20, keyY, QStringLiteral("習った"));

    const QRect plot(34, 14 + metrics.height(), width() - 34 - 10, height() - 14 - metrics.height() - 6 - metrics.height());
    if (m_weeks.empty()) {
        p.setPen(Qt::darkGray);
        p.drawText(plot, Qt::AlignCenter, m_note);
        return;
    }
    const int top = scaleTop(m_weeks);
    auto yOf = [&](int count) { return plot.bottom() - double(count) * plot.height() / top; };
    const int n = int(m_weeks.size());
    const double step = n > 1 ? double(plot.width()) / (n - 1) : 0;
    auto xOf = [&](int i) { return n > 1 ? plot.left() + i * step : plot.center().x(); };

    // The scale, every 20 kanji (every 50 on a tall scale).
    const int every = top > 100 ? 50 : 20;
    for (int v = 0; v <= top; v += every) {
        p.setPen(GridColour);
        p.drawLine(QPointF(plot.left(), yOf(v)), QPointF(plot.right(), yOf(v)));
        p.setPen(Qt::darkGray);
        p.drawText(QRectF(0, yOf(v) - metrics.height() / 2.0, plot.left() - 4, metrics.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    // The date each fourth week ends, counting back from the last.
    p.setPen(Qt::darkGray);
    for (int i = n - 1; i >= 0; i -= 4) {
        const auto date = daynumber::toDate(double(m_weeks[std::size_t(i)].lastDay));
        if (!date)
            continue;
        const QString label = QStringLiteral("%1/%2").arg(date->month()).arg(date->day());
        const double w = metrics.horizontalAdvance(label);
        const double left = std::clamp(xOf(i) - w / 2, 0.0, width() - w - 2);
        p.drawText(QPointF(left, plot.bottom() + 4 + metrics.ascent()), label);
    }

    for (int m = 0; m < 2; ++m) {
        QPainterPath learned;
        QPainterPath kept;
        for (int i = 0; i < n; ++i) {
            const memory::WeekCount& w = m_weeks[std::size_t(i)];
            const QPointF a(xOf(i), yOf(w.learned[std::size_t(m)]));
            const QPointF b(xOf(i), yOf(w.remembered[std::size_t(m)]));
            if (i == 0) {
                learned.moveTo(a);
                kept.moveTo(b);
            } else {
                learned.lineTo(a);
                kept.lineTo(b);
            }
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ModeColours[m], 1.5, Qt::DashLine));
        p.drawPath(learned);
        p.setPen(QPen(ModeColours[m], 2.5));
        p.drawPath(kept);
        p.setBrush(ModeColours[m]);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < n; ++i)
            p.drawEllipse(QPointF(xOf(i), yOf(m_weeks[std::size_t(i)].remembered[std::size_t(m)])), 2.5, 2.5);
    }
}

} // namespace moji
