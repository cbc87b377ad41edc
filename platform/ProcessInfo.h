#pragma once

#include <QString>
#include <memory>

// Proof that a process activity is under way; the activity lasts as long as
// someone holds the token. Linux has nothing that naps a busy server, so the
// token only records what was asked for.
class ActivityToken {
public:
    ActivityToken(quint64 options, QString reason) : m_options(options), m_reason(std::move(reason)) {}
    quint64 options() const { return m_options; }
    const QString& reason() const { return m_reason; }

private:
    quint64 m_options;
    QString m_reason;
};

class ProcessInfo {
public:
    static ProcessInfo& processInfo();
    std::shared_ptr<ActivityToken> beginActivity(quint64 options, const QString& reason);
};
