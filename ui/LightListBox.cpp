#include "LightListBox.h"

#include "ColumnWidths.h"

#include <QHeaderView>
#include <QScrollBar>
#include <stdexcept>
#include <string>

namespace {
const QStringList Headings = {QStringLiteral("#"), QStringLiteral("Name"), QStringLiteral("State"),
                              QStringLiteral("Value")};
constexpr int NumberColumn = 0;
} // namespace

LightListBox::LightListBox(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(ColumnCount);
    setHeaderLabels(Headings);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(false);
    setSortingEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    header()->setSectionsMovable(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    // The widths text decides every column, the last one included.
    header()->setStretchLastSection(false);
    // The header's one minimum would hold every column to the widest
    // heading; each column keeps its own instead (keepMinimum).
    header()->setMinimumSectionSize(0);
    connect(header(), &QHeaderView::sectionResized, this, &LightListBox::keepMinimum);
}

int LightListBox::ListCount() const
{
    return topLevelItemCount();
}

void LightListBox::setRow(int row, const QStringList& cells)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        throw std::out_of_range("light row " + std::to_string(row) + " does not exist");
    setCells(*item, cells);
    fitNumber(*item);
}

void LightListBox::AddRow(const QStringList& cells)
{
    auto* item = new QTreeWidgetItem;
    setCells(*item, cells);
    addTopLevelItem(item);
    fitNumber(*item);
}

// Pieces beyond the last column are dropped; columns without a piece keep
// their text.
void LightListBox::setCells(QTreeWidgetItem& item, const QStringList& cells)
{
    const int count = std::min<int>(cells.size(), ColumnCount);
    for (int column = 0; column < count; ++column)
        item.setText(column, cells[column]);
}

// A number wider than any before raises the column's minimum, and the column
// with it when it is narrower; the other columns give up the room. Rows are
// rewritten at every lights request, and measuring a cell costs several times
// writing it: a cell is measured only when its number has more digits than
// any before (the digits of a font's figures are all of one width).
void LightListBox::fitNumber(QTreeWidgetItem& item)
{
    const qsizetype digits = item.text(NumberColumn).size();
    if (digits <= m_numberDigits)
        return;
    m_numberDigits = digits;
    const int needed = sizeHintForIndex(indexFromItem(&item, NumberColumn)).width();
    if (needed <= m_numberWidth)
        return;
    m_numberWidth = needed;
    if (header()->sectionSize(NumberColumn) < needed)
        setColumnWidths(columnWidths());
}

QString LightListBox::columnWidths() const
{
    return ColumnWidths::format(widths());
}

void LightListBox::setColumnWidths(const QString& text)
{
    const int room = maximumViewportSize().width() - verticalScrollBar()->sizeHint().width();
    QList<int> minimums;
    for (int column = 0; column < ColumnCount; ++column)
        minimums.append(minimumWidth(column));
    applyWidths(ColumnWidths::atLeast(ColumnWidths::resolve(text, ColumnCount, room), minimums));
}

int LightListBox::minimumWidth(int column) const
{
    const int heading = header()->sectionSizeHint(column);
    return column == NumberColumn ? std::max(heading, m_numberWidth) : heading;
}

QList<int> LightListBox::widths() const
{
    QList<int> widths;
    for (int column = 0; column < ColumnCount; ++column)
        widths.append(header()->sectionSize(column));
    return widths;
}

void LightListBox::applyWidths(const QList<int>& widths)
{
    for (int column = 0; column < ColumnCount; ++column)
        header()->resizeSection(column, widths[column]);
}

// A drag stops at the column's minimum, as a widths text does.
void LightListBox::keepMinimum(int column, int, int newWidth)
{
    const int minimum = minimumWidth(column);
    if (newWidth < minimum)
        header()->resizeSection(column, minimum);
}

