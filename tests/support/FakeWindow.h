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
    void setRow(int row, const QStringList& cells) override { rows[row] = cells; }
    void AddRow(const QStringList& cells) override { rows.append(cells); }
    QList<QStringList> rows;
};
