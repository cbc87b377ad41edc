#include "LightListBox.h"

#include "ColumnWidths.h"

#include <QHeaderView>
#include <stdexcept>
#include <string>

namespace {
const QStringList Headings = {QStringLiteral("#"), QStringLiteral("Name"), QStringLiteral("State"),
                              QStringLiteral("Value")};
const QChar CellSeparator = QLatin1Char('\t');
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
    header()->setMinimumSectionSize(0);
}

int LightListBox::ListCount() const
{
    return topLevelItemCount();
}

void LightListBox::setRowText(int row, const QString& tabSeparatedCells)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        throw std::out_of_range("light row " + std::to_string(row) + " does not exist");
    setCells(*item, tabSeparatedCells.split(CellSeparator));
}

void LightListBox::AddRow(const QStringList& cells)
{
    auto* item = new QTreeWidgetItem;
    setCells(*item, cells);
    addTopLevelItem(item);
}

// Pieces beyond the last column are dropped; columns without a piece keep
// their text.
void LightListBox::setCells(QTreeWidgetItem& item, const QStringList& cells)
{
    const int count = std::min<int>(cells.size(), ColumnCount);
    for (int column = 0; column < count; ++column)
        item.setText(column, cells[column]);
}

QString LightListBox::columnWidths() const
{
    QList<int> widths;
    for (int column = 0; column < ColumnCount; ++column)
        widths.append(header()->sectionSize(column));
    return ColumnWidths::format(widths);
}

void LightListBox::setColumnWidths(const QString& text)
{
    const QList<int> widths = ColumnWidths::atLeast(
        ColumnWidths::resolve(text, ColumnCount, maximumViewportSize().width()), headingWidths());
    for (int column = 0; column < ColumnCount; ++column)
        header()->resizeSection(column, widths[column]);
}

// Wide enough for each column's heading, so that no column vanishes.
QList<int> LightListBox::headingWidths() const
{
    QList<int> widths;
    for (int column = 0; column < ColumnCount; ++column)
        widths.append(header()->sectionSizeHint(column));
    return widths;
}

QString LightListBox::cellText(int row, int column) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}
