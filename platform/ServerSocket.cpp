#include "ServerSocket.h"

#include "TCPSocket.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

ServerSocket::ServerSocket(QObject* parent) : QObject(parent), m_server(std::make_unique<QTcpServer>())
{
    connect(m_server.get(), &QTcpServer::newConnection, this, &ServerSocket::acceptWaiting);
}

// The connection objects are children of this object and go with it.
ServerSocket::~ServerSocket() = default;

bool ServerSocket::Listen()
{
    if (!m_server->isListening() && !m_server->listen(QHostAddress::AnyIPv4, quint16(m_port)))
        return false;
    topUpSpares();
    return true;
}

bool ServerSocket::isListening() const
{
    return m_server->isListening();
}

int ServerSocket::boundPort() const
{
    return m_server->isListening() ? m_server->serverPort() : 0;
}

// Serves waiting clients while there is room. When the open connections are
// at their limit, accepting pauses, so later clients wait in the listen
// backlog and are taken in turn as open connections close.
void ServerSocket::acceptWaiting()
{
    while (m_open.size() < m_maximumConnected && m_server->hasPendingConnections()) {
        QTcpSocket* connection = m_server->nextPendingConnection();
        // A client that gave up while it waited leaves nothing to serve.
        if (connection->state() != QAbstractSocket::ConnectedState) {
            connection->deleteLater();
            continue;
        }
        serve(connection);
    }
    if (m_open.size() < m_maximumConnected)
        m_server->resumeAccepting();
    else
        m_server->pauseAccepting();
}

void ServerSocket::serve(QTcpSocket* connection)
{
    TCPSocket* socket = takeSpare();
    if (!socket) {
        connection->abort();
        connection->deleteLater();
        return;
    }
    m_open.append(socket);
    connect(socket, &TCPSocket::closed, this, [this, socket] { onClosed(socket); });
    socket->attach(connection);
    topUpSpares();
}

TCPSocket* ServerSocket::takeSpare()
{
    if (m_spares.isEmpty())
        topUpSpares();
    if (m_spares.isEmpty() && AddSocket) {
        if (TCPSocket* socket = AddSocket()) {
            socket->setParent(this);
            return socket;
        }
    }
    return m_spares.isEmpty() ? nullptr : m_spares.takeFirst();
}

void ServerSocket::topUpSpares()
{
    while (AddSocket && m_spares.size() < m_minimumAvailable) {
        TCPSocket* socket = AddSocket();
        if (!socket)
            return;
        socket->setParent(this);
        m_spares.append(socket);
    }
}

// Runs inside the closing connection's own signal: the object is dropped
// later, and the next client is taken from the event loop.
void ServerSocket::onClosed(TCPSocket* socket)
{
    if (!m_open.removeOne(socket))
        return;
    socket->deleteLater();
    QMetaObject::invokeMethod(this, &ServerSocket::acceptWaiting, Qt::QueuedConnection);
}
