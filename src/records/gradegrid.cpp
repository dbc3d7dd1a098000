#include "gradegrid.h"

#include <QHeaderView>

namespace moji {

const QColor GradeGrid::CellColour(Qt::yellow);
const QColor GradeGrid::FixedColour(105, 194, 214);

GradeGrid::GradeGrid(const std::vector<Column>& columns, int rows, double scale, QWidget* parent)
    : QTableWidget(rows, int(columns.size()), parent), m_columns(columns), m_scale(scale > 0 ? scale : 1.0)
{
    setObjectName(QStringLiteral("Grd_Seiseki"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();

    QPalette pal = palette();
    pal.setColor(QPalette::Base, CellColour);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    setStyleSheet(QStringLiteral("QTableWidget { gridline-color: #6a6a6a; border: 1px solid #6a6a6a; }"
                                 "QHeaderView::section { background-color: rgb(105, 194, 214); color: black;"
                                 " border: none; border-right: 1px solid #6a6a6a; border-bottom: 1px solid #6a6a6a;"
                                 " padding: 0px; }"));

    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    // Long headings in narrow columns take two lines rather than being cut.
    header->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    QStringList headings;
    for (const Column& c : m_columns)
        headings << c.heading;
    setHorizontalHeaderLabels(headings);

    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    for (int row = 1; row <= rows; ++row)
        clearRow(row);
}

void GradeGrid::setSizes(int rowHeight, const std::vector<int>& columnWidths)
{
    verticalHeader()->setDefaultSectionSize(px(rowHeight));
    horizontalHeader()->setFixedHeight(px(rowHeight));
    for (std::size_t c = 0; c < columnWidths.size() && int(c) < columnCount(); ++c)
        setColumnWidth(int(c), px(columnWidths[c]));
}

void GradeGrid::placeTwelveRows(const QRect& area, std::span<const int> columnPercent)
{
    setGeometry(area);
    std::vector<int> widths;
    for (const int percent : columnPercent)
        widths.push_back(area.width() * percent / 100);
    setSizes(area.height() / 12, widths);
}

void GradeGrid::setFonts(const QFont& base, int cellPixels, int headingPixels)
{
    QFont cells = base;
    cells.setPixelSize(cellPixels); // scaled with the rest of the layout
    cells.setBold(true);
    setFont(cells);
    // A style sheet draws the heading row, so its font is given there; the layout scale does
    // not reach style sheets, so it is applied here.
    horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView { background-color: rgb(105, 194, 214); font-family: \"%1\"; font-weight: bold; font-size: %2px; }")
            .arg(cells.family())
            .arg(px(headingPixels)));
    // Item fonts are not scaled with the layout: they take the scale here.
    for (int c = 0; c < columnCount(); ++c) {
        const Column& column = m_columns[std::size_t(c)];
        if (column.pixels <= 0 && column.stretch == 100)
            continue;
        QFont own = cells;
        if (column.pixels > 0)
            own.setPixelSize(px(column.pixels));
        own.setStretch(column.stretch);
        for (int row = 0; row < rowCount(); ++row) {
            if (QTableWidgetItem* cell = item(row, c))
                cell->setFont(own);
        }
    }
}

void GradeGrid::setRow(int row, const QStringList& texts)
{
    for (int c = 0; c < columnCount(); ++c) {
        QTableWidgetItem* cell = item(row - 1, c);
        if (!cell)
            continue;
        cell->setText(c < texts.size() ? texts[c] : QString());
    }
}

void GradeGrid::clearRow(int row)
{
    if (row < 1 || row > rowCount())
        return;
    for (int c = 0; c < columnCount(); ++c) {
        auto* cell = item(row - 1, c);
        if (!cell) {
            cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled);
            cell->setTextAlignment(m_columns[std::size_t(c)].alignment);
            // The first column is fixed, like the heading row.
            if (c == 0)
                cell->setBackground(FixedColour);
            setItem(row - 1, c, cell);
        }
        cell->setText(QString());
    }
}

QString GradeGrid::text(int row, int column) const
{
    if (row == 0) {
        const QTableWidgetItem* head = horizontalHeaderItem(column);
        return head ? head->text() : QString();
    }
    const QTableWidgetItem* cell = item(row - 1, column);
    return cell ? cell->text() : QString();
}

} // namespace moji
