#pragma once

#include <QColor>
#include <QTableWidget>

#include <span>
#include <vector>

namespace moji {

// The grids of the grade screens: yellow cells with black text, the heading row and the
// first column in the light blue of fixed cells, every row of one height, nothing editable.
// The heading row is the grid's header, so it stays in view while the rows scroll; grid row
// r (0 = heading) is therefore table row r - 1.
class GradeGrid : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        QString heading;
        Qt::Alignment alignment = Qt::AlignCenter;
        // A font size of the column's own, in pixels of the design, where the grid's is too
        // large for the column's texts; 0 for the grid's.
        int pixels = 0;
        // Width of the column's own font in percent (QFont::setStretch), for texts that must
        // fit whole.
        int stretch = 100;
    };

    static const QColor CellColour;
    static const QColor FixedColour; // 14074473 as a platform colour value

    // `rows` record rows below the heading row. `scale` is the layout scale, which multiplies
    // the sizes below as it multiplies every geometry.
    GradeGrid(const std::vector<Column>& columns, int rows, double scale, QWidget* parent);

    // Row height (the heading row's too) and column widths, in pixels of the design.
    void setSizes(int rowHeight, const std::vector<int>& columnWidths);
    // Puts the grid on `area` of the design with twelve rows (heading included) in view and
    // the columns sharing its width by `columnPercent`.
    void placeTwelveRows(const QRect& area, std::span<const int> columnPercent);
    // Bold fonts in pixels of the design for the cells and the heading row.
    void setFonts(const QFont& base, int cellPixels, int headingPixels);
    // Fills record row `row` (from 1); missing texts leave their cells blank.
    void setRow(int row, const QStringList& texts);
    void clearRow(int row);
    // The text of a cell by grid row (0 = heading) and column.
    QString text(int row, int column) const;

private:
    int px(int design) const { return int(design * m_scale + 0.5); }

    std::vector<Column> m_columns;
    double m_scale;
};

} // namespace moji
