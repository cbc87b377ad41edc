#pragma once

#include <QObject>
#include <functional>

// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop, so the
// process quits through its normal quit sequence.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(std::function<void()> onQuit, QObject* parent = nullptr);
    ~QuitSignals() override;

private:
    std::function<void()> m_onQuit;
};
