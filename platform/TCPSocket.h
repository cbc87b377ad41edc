#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

// One accepted TCP connection. Subclasses handle its events by overriding the
// three Event_ operations; the listener (ServerSocket) attaches the accepted
// connection and raises Connected before any data.
class TCPSocket : public QObject {
    Q_OBJECT
public:
    explicit TCPSocket(QObject* parent = nullptr);
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

    // Used by ServerSocket: hands this object its accepted connection.
    void attach(QTcpSocket* connection);

signals:
    // The connection has ended; the listener then drops this object.
    void closed();

protected:
    virtual void Event_Connected() {}
    virtual void Event_DataAvailable() {}
    virtual void Event_SendComplete(bool userAborted) { Q_UNUSED(userAborted); }

private:
    void onBytesWritten();
    void deliverWaitingData();
    void emitClosedOnce();

    QTcpSocket* m_connection = nullptr;
    bool m_sendPending = false;
    bool m_closedEmitted = false;
};
