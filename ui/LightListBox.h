#pragma once

#include "LightRows.h"

#include <QTreeWidget>

// The list box of light rows: four columns under a heading, no hierarchy,
// at most one row selected. The light list writes its rows through
// LightRows; the window exchanges the column widths as one text.
class LightListBox : public QTreeWidget, public LightRows {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 4;

    explicit LightListBox(QWidget* parent = nullptr);

    int ListCount() const override;
    void setRowText(int row, const QString& tabSeparatedCells) override;
    void AddRow(const QStringList& cells) override;

    // The current widths in pixels, as bare numbers (see ColumnWidths).
    QString columnWidths() const;
    // Takes a widths text of the form ColumnWidths reads, against the width
    // the columns can fill now.
    void setColumnWidths(const QString& text);

    // The text of one cell, for whoever shows or checks the rows.
    QString cellText(int row, int column) const;

private:
    QList<int> headingWidths() const;
    void setCells(QTreeWidgetItem& item, const QStringList& cells);
};
