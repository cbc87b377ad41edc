#pragma once

#include <QString>
#include <QStringList>

// The window's list of light rows, as the light list writes it.
class LightRows {
public:
    virtual ~LightRows() = default;
    // Number of rows; rows are numbered from 0.
    virtual int ListCount() const = 0;
    // Cell(row, -1) set: the text's tab-separated pieces become the cells of
    // the existing row, from the first column on.
    virtual void setRowText(int row, const QString& tabSeparatedCells) = 0;
    // Appends one row after the last.
    virtual void AddRow(const QStringList& cells) = 0;
};
