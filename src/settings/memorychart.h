#pragma once

#include "memoryweeks.h"

#include <QWidget>

#include <vector>

namespace moji {

// A parent's chart of one pupil: week by week, how many kanji they had learned (dashed) and
// how many of those they remembered (solid, recall at or above the target), reading in blue
// and writing in orange.
class MemoryChart : public QWidget {
    Q_OBJECT
public:
    explicit MemoryChart(QWidget* parent = nullptr);

    // The weeks to draw, oldest first; `note` is shown instead when there are none.
    void setWeeks(std::vector<memory::WeekCount> weeks, const QString& note);
    const std::vector<memory::WeekCount>& weeks() const { return m_weeks; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<memory::WeekCount> m_weeks;
    QString m_note;
};

} // namespace moji
