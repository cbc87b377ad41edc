#pragma once

#include <QList>
#include <QString>

// Turns a column-widths text into pixel widths and back.
//
// The text holds one entry per column, in column order, separated by commas;
// blanks around an entry are ignored. An entry is
//   "N"   N points (a bare number, which may have a fraction or start with
//         the decimal point),
//   "N%"  N percent of the available width,
//   "N*"  N shares of what the fixed and percent columns leave ("*" alone is
//         one share).
// An entry that is empty or cannot be read, and a column that has no entry,
// takes one share. Entries beyond the last column are ignored.
class ColumnWidths {
public:
    static QList<int> resolve(const QString& text, int columnCount, int availableWidth);

    // Raises every column to its minimum, taking what that needs from the
    // columns with the most to spare, so the total stays as it was whenever
    // it can. A text taken literally could otherwise leave a column a pixel
    // wide (a bare "1.428571" is under two points).
    static QList<int> atLeast(QList<int> widths, const QList<int>& minimums);

    // The widths as bare numbers: a text that resolve() turns back into
    // exactly these widths, whatever the available width.
    static QString format(const QList<int>& widths);
};
