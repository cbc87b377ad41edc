#pragma once

#include <QByteArray>
#include <QTcpSocket>
#include <chrono>
#include <functional>

// A TCP client on 127.0.0.1 that runs the event loop while it waits, so the
// listener in the same thread gets to serve it. Every wait is bounded.
class LoopbackClient {
public:
    static constexpr std::chrono::milliseconds ConnectLimit{3000};
    static constexpr std::chrono::milliseconds CloseLimit{5000};
    static constexpr std::chrono::milliseconds SettleTime{100};

    explicit LoopbackClient(int port);

    // Writes the bytes, then lets the loop run for settle.
    void send(const QByteArray& bytes, std::chrono::milliseconds settle = SettleTime);
    // Writes the bytes and returns at once, for callers already in the loop.
    void write(const QByteArray& bytes);
    // From now on nothing more is read: the server's bytes pile up unread.
    void stopReading();
    void runFor(std::chrono::milliseconds duration);
    // Runs the loop until the server has closed the connection, at most limit.
    bool waitForClose(std::chrono::milliseconds limit = CloseLimit);

    bool isConnected() const;
    bool closedByServer() const { return m_closed; }
    QByteArray received() const { return m_received; }

    // Connects, sends the whole request and waits for the server to close.
    static QByteArray exchange(int port, const QByteArray& request);

private:
    void runUntil(std::chrono::milliseconds limit, const std::function<bool()>& done);

    QTcpSocket m_socket;
    QMetaObject::Connection m_reading;
    QByteArray m_received;
    bool m_closed = false;
};
