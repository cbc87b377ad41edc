#pragma once

#include <QString>

// The window's one-line status text, as the core and the bridge service set it.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void setStatusText(const QString& text) = 0;
};
