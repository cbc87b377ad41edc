#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <optional>

class QTcpSocket;

// One accepted TCP connection. Subclasses handle its events by overriding the
// three Event_ operations.
//
// The listener (ServerSocket) first holds each accepted connection while the
// ones before it are served: the client's bytes are collected, and nothing of
// the connection reaches the subclass. When its turn comes the listener opens
// it: Connected is raised, then DataAvailable for the bytes collected so far,
// as if they had just arrived.
//
// Two limits keep one client from holding the listener:
// - The request time limit, counted from the accept. A connection still held
//   when it runs out is dropped unseen; an open one is closed. A held
//   connection whose request is complete (isRequestComplete) keeps its place
//   however late its turn comes, and is not read further until then.
// - SendProgressLimit: a reply that makes no progress for that long is
//   abandoned and the connection ended.
class TCPSocket : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds SendProgressLimit{10};

    // Without a request time limit a client may take as long as it likes.
    explicit TCPSocket(QObject* parent = nullptr);
    explicit TCPSocket(std::chrono::milliseconds requestTimeLimit);
    ~TCPSocket() override;

    // Every waiting byte, removed from the socket.
    QByteArray ReadAll();
    // Queues data; Flush sends what is queued. SendComplete follows once all
    // written bytes are out.
    void Write(const QByteArray& data);
    void Flush();
    // Ends the connection (queued bytes are still sent first).
    void Close();

    // Local IPv4 address of the connection, dotted text (never IPv4-mapped).
    QString LocalAddress() const;
    // Local port: the listening port.
    int Port() const;

    // Used by ServerSocket: hold() takes the accepted connection, open()
    // gives it its turn.
    void hold(QTcpSocket* connection);
    void open();

signals:
    // The connection has ended; the listener then drops this object.
    void closed();

protected:
    virtual void Event_Connected() {}
    virtual void Event_DataAvailable() {}
    virtual void Event_SendComplete(bool userAborted) { Q_UNUSED(userAborted); }

    // Asked while the connection is held, each time bytes arrive: whether
    // they are a whole request, or already enough to refuse one.
    virtual bool isRequestComplete(QByteArrayView received) const
    {
        Q_UNUSED(received);
        return false;
    }
    // The request is in: the request time limit no longer applies.
    void requestReceived();

private:
    void onHeldData();
    void onRequestTimeLimit();
    void onBytesWritten();
    void deliverCollectedData();
    void emitClosedOnce();

    QTcpSocket* m_connection = nullptr;
    std::optional<std::chrono::milliseconds> m_requestTimeLimit;
    QTimer m_requestClock;
    QTimer m_sendClock;
    bool m_open = false;
    bool m_requestReceived = false;
    bool m_requestTimedOut = false;
    bool m_sendPending = false;
    bool m_closedEmitted = false;
};
