#pragma once

#include "LightRows.h"
#include "StatusLine.h"

#include <QList>
#include <QStringList>

// Stand-ins for the window's status line and light rows.
class FakeStatusLine : public StatusLine {
public:
    void setStatusText(const QString& text) override { texts.append(text); }
    QString current() const { return texts.isEmpty() ? QString() : texts.last(); }
    QStringList texts;
};

class FakeLightRows : public LightRows {
public:
    int ListCount() const override { return static_cast<int>(rows.size()); }
    void setRowText(int row, const QString& tabSeparatedCells) override
    {
        rows[row] = tabSeparatedCells.split(QLatin1Char('\t'));
    }
    void AddRow(const QStringList& cells) override { rows.append(cells); }
    QList<QStringList> rows;
};
