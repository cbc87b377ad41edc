#include "TCPSocket.h"

#include "DottedAddress.h"

#include <QTcpSocket>

TCPSocket::TCPSocket(QObject* parent) : QObject(parent) {}

TCPSocket::~TCPSocket()
{
    // The connection must not signal into a half-destroyed object.
    if (m_connection)
        m_connection->disconnect(this);
}

void TCPSocket::attach(QTcpSocket* connection)
{
    m_connection = connection;
    m_connection->setParent(this);
    connect(m_connection, &QTcpSocket::readyRead, this, [this] { Event_DataAvailable(); });
    connect(m_connection, &QTcpSocket::bytesWritten, this, &TCPSocket::onBytesWritten);
    connect(m_connection, &QTcpSocket::disconnected, this, &TCPSocket::emitClosedOnce);
    connect(m_connection, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
        if (state == QAbstractSocket::UnconnectedState)
            emitClosedOnce();
    });
    Event_Connected();
    // Bytes that came while the connection waited for its turn raised no
    // readyRead that anyone saw; a client that left while waiting ends here.
    QMetaObject::invokeMethod(this, &TCPSocket::deliverWaitingData, Qt::QueuedConnection);
}

void TCPSocket::deliverWaitingData()
{
    if (!m_connection)
        return;
    if (m_connection->bytesAvailable() > 0)
        Event_DataAvailable();
    if (m_connection && m_connection->state() == QAbstractSocket::UnconnectedState)
        emitClosedOnce();
}

QByteArray TCPSocket::ReadAll()
{
    return m_connection ? m_connection->readAll() : QByteArray();
}

void TCPSocket::Write(const QByteArray& data)
{
    if (!m_connection || data.isEmpty())
        return;
    m_sendPending = true;
    m_connection->write(data);
}

void TCPSocket::Flush()
{
    if (m_connection)
        m_connection->flush();
}

// SendComplete comes from the event loop even when Flush wrote everything at
// once, so the handler never runs inside the Write/Flush of the same reply.
void TCPSocket::onBytesWritten()
{
    if (!m_sendPending || m_connection->bytesToWrite() > 0)
        return;
    m_sendPending = false;
    QMetaObject::invokeMethod(this, [this] { Event_SendComplete(false); }, Qt::QueuedConnection);
}

void TCPSocket::Close()
{
    if (!m_connection || m_connection->state() == QAbstractSocket::UnconnectedState) {
        emitClosedOnce();
        return;
    }
    // Waits for the queued bytes to go out before the connection ends.
    m_connection->disconnectFromHost();
}

QString TCPSocket::LocalAddress() const
{
    return m_connection ? dottedAddress(m_connection->localAddress()) : QString();
}

int TCPSocket::Port() const
{
    return m_connection ? m_connection->localPort() : 0;
}

void TCPSocket::emitClosedOnce()
{
    if (m_closedEmitted)
        return;
    m_closedEmitted = true;
    emit closed();
}
