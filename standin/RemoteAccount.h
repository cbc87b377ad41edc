#pragma once

#include <QString>

// The credentials of a remote header, and an account the host accepts them for.
struct RemoteAccount {
    QString user;
    QString password;
    QString address;

    friend bool operator==(const RemoteAccount&, const RemoteAccount&) = default;
};
