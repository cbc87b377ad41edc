#pragma once

#include <QString>
#include <QStringList>

// The window's list of light rows, as the light list writes it.
class LightRows {
public:
    virtual ~LightRows() = default;
    // Number of rows; rows are numbered from 0.
    virtual int ListCount() const = 0;
    // Cell(row, -1) set: the cells become those of the existing row, from the
    // first column on. They come as a list, not as one tab-joined text, so a
    // cell (a unit's name) may hold any character, a tab included.
    virtual void setRow(int row, const QStringList& cells) = 0;
    // Appends one row after the last.
    virtual void AddRow(const QStringList& cells) = 0;
};
