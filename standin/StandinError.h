#pragma once

#include <QString>
#include <stdexcept>

// Anything that makes a script fail: the message is the one line that goes to
// standard error.
class StandinError : public std::runtime_error {
public:
    explicit StandinError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }

    QString message() const { return QString::fromUtf8(what()); }
};
