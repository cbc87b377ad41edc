#pragma once

#include "LightRows.h"

#include <QTreeWidget>

// The list box of light rows: four columns under a heading, no hierarchy,
// at most one row selected. The light list writes its rows through
// LightRows; the window exchanges the column widths as one text.
//
// No column is ever narrower than its heading, and "#" than its widest
// number, whether the user drags a border or a widths text is set: a dragged
// width therefore always comes back the same from the text it is read into.
class LightListBox : public QTreeWidget, public LightRows {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 4;

    explicit LightListBox(QWidget* parent = nullptr);

    int ListCount() const override;
    void setRow(int row, const QStringList& cells) override;
    void AddRow(const QStringList& cells) override;

    // The current widths in pixels, as bare numbers (see ColumnWidths).
    QString columnWidths() const;
    // Takes a widths text of the form ColumnWidths reads, against the width
    // the columns can fill while the vertical scroll bar is shown.
    void setColumnWidths(const QString& text);

    // The narrowest the column may be.
    int minimumWidth(int column) const;

private:
    QList<int> widths() const;
    void applyWidths(const QList<int>& widths);
    void keepMinimum(int column, int oldWidth, int newWidth);
    void fitNumber(QTreeWidgetItem& item);
    void setCells(QTreeWidgetItem& item, const QStringList& cells);

    // The widest number the "#" column has shown, in pixels with its padding,
    // and the most digits measured.
    int m_numberWidth = 0;
    qsizetype m_numberDigits = 0;
};
