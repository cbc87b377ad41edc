#pragma once

#include "StatusLine.h"

#include <QLabel>

// The one-line status text: the user can select and copy it, not edit it.
class StatusLabel : public QLabel, public StatusLine {
    Q_OBJECT
public:
    explicit StatusLabel(QWidget* parent = nullptr);
    void setStatusText(const QString& text) override;
};
