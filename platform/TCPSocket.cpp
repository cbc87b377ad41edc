#include "TCPSocket.h"

#include "DottedAddress.h"

#include <QTcpSocket>

namespace {
// A held client is read no further than this until its turn; TCP holds back
// the rest.
constexpr qint64 HeldReadLimit = 1024 * 1024;
} // namespace

TCPSocket::TCPSocket(QObject* parent) : QObject(parent)
{
    m_requestClock.setSingleShot(true);
    connect(&m_requestClock, &QTimer::timeout, this, &TCPSocket::onRequestTimeLimit);
    m_sendClock.setSingleShot(true);
    m_sendClock.setInterval(SendProgressLimit);
    connect(&m_sendClock, &QTimer::timeout, this, [this] {
        m_connection->abort();
        emitClosedOnce();
    });
}

TCPSocket::TCPSocket(std::chrono::milliseconds requestTimeLimit) : TCPSocket()
{
    m_requestTimeLimit = requestTimeLimit;
}

TCPSocket::~TCPSocket()
{
    // The connection must not signal into a half-destroyed object.
    if (m_connection)
        m_connection->disconnect(this);
}

void TCPSocket::hold(QTcpSocket* connection)
{
    m_connection = connection;
    m_connection->setParent(this);
    m_connection->setReadBufferSize(HeldReadLimit);
    if (m_requestTimeLimit)
        m_requestClock.start(*m_requestTimeLimit);
    connect(m_connection, &QTcpSocket::readyRead, this, &TCPSocket::onHeldData);
    connect(m_connection, &QTcpSocket::disconnected, this, &TCPSocket::emitClosedOnce);
    connect(m_connection, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
        if (state == QAbstractSocket::UnconnectedState)
            emitClosedOnce();
    });
    // Bytes may have come before the connection was taken from the listener.
    if (m_connection->bytesAvailable() > 0)
        onHeldData();
}

// A complete request is kept as it stands: the read buffer is closed at its
// size, so later bytes stay with TCP and come as a read of their own.
void TCPSocket::onHeldData()
{
    if (m_requestReceived)
        return;
    const qint64 collected = m_connection->bytesAvailable();
    if (collected == 0 || !isRequestComplete(m_connection->peek(collected)))
        return;
    requestReceived();
    m_connection->setReadBufferSize(collected);
}

void TCPSocket::open()
{
    m_open = true;
    disconnect(m_connection, &QTcpSocket::readyRead, this, &TCPSocket::onHeldData);
    connect(m_connection, &QTcpSocket::readyRead, this, [this] {
        if (!m_requestTimedOut)
            Event_DataAvailable();
    });
    connect(m_connection, &QTcpSocket::bytesWritten, this, &TCPSocket::onBytesWritten);
    Event_Connected();
    // The collected bytes raised no DataAvailable that anyone saw; they are
    // delivered before the connection reads on, so a client that sent its
    // request and left is still answered.
    QMetaObject::invokeMethod(this, &TCPSocket::deliverCollectedData, Qt::QueuedConnection);
}

void TCPSocket::deliverCollectedData()
{
    if (m_closedEmitted)
        return;
    if (m_connection->bytesAvailable() > 0 && !m_requestTimedOut)
        Event_DataAvailable();
    if (m_closedEmitted)
        return;
    m_connection->setReadBufferSize(0);
    if (m_connection->state() == QAbstractSocket::UnconnectedState)
        emitClosedOnce();
}

void TCPSocket::requestReceived()
{
    m_requestReceived = true;
    m_requestClock.stop();
}

// Held, the client never reaches the subclass; open, it is closed and
// whatever it sends from now on is not delivered.
void TCPSocket::onRequestTimeLimit()
{
    if (!m_open) {
        m_connection->abort();
        emitClosedOnce();
        return;
    }
    m_requestTimedOut = true;
    Close();
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
    if (!m_sendClock.isActive())
        m_sendClock.start();
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
    if (m_connection->bytesToWrite() > 0) {
        m_sendClock.start(); // progress: the limit counts afresh
        return;
    }
    m_sendClock.stop();
    if (!m_sendPending)
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
    return m_connection ? DottedAddress::text(m_connection->localAddress()) : QString();
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
    m_requestClock.stop();
    m_sendClock.stop();
    emit closed();
}
