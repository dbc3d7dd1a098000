#pragma once

// Reading and clicking the grids of the grade screens as a pupil sees them. Header-only, for
// the test programs that link the record screens.

#include "gradegrid.h"

#include <QStringList>
#include <QTest>

namespace testing_support {

// Every text of grid row `row` (0 = heading).
inline QStringList rowTexts(const moji::GradeGrid* grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << grid->text(row, c);
    return texts;
}

// Clicks a cell of grid row `row` (from 1).
inline void clickRow(moji::GradeGrid* grid, int row, int column = 1)
{
    const QRect cell = grid->visualItemRect(grid->item(row - 1, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace testing_support
