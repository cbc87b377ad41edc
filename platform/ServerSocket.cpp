#include "ServerSocket.h"

#include "TCPSocket.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
// Accepted connections that QTcpServer may keep in its own queue: the one
// that newConnection is handing over.
constexpr int AcceptedUntaken = 1;
// Clients that arrive together wait here beyond the held ones. Past it the
// kernel answers with SYN cookies, and a client whose handshake it then drops
// is reset once it sends its request.
constexpr int ListenBacklog = 256;
} // namespace

ServerSocket::ServerSocket(QObject* parent) : QObject(parent), m_server(std::make_unique<QTcpServer>())
{
    m_server->setMaxPendingConnections(AcceptedUntaken);
    m_server->setListenBacklogSize(ListenBacklog);
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

int ServerSocket::boundPort() const
{
    return m_server->isListening() ? m_server->serverPort() : 0;
}

// Takes clients off the backlog while there is room to hold them. At the
// limit, accepting pauses and later clients wait in the backlog until held
// ones are opened or dropped.
//
// No connection may wait in QTcpServer's own queue: there it is read to its
// end unattended, and Qt closes a client that has closed its sending side as
// soon as it reads that end, its request unanswered. So each connection is
// taken as soon as it is accepted, and at the limit QTcpServer keeps no room
// in its queue, which also stops an accept loop that is running already;
// pausing alone would not.
void ServerSocket::acceptWaiting()
{
    while (m_waiting.size() < MaximumConnectionsWaiting && m_server->hasPendingConnections()) {
        hold(m_server->nextPendingConnection());
        openWaiting();
    }
    openWaiting();
    const bool room = m_waiting.size() < MaximumConnectionsWaiting;
    m_server->setMaxPendingConnections(room ? AcceptedUntaken : 0);
    if (room)
        m_server->resumeAccepting();
    else
        m_server->pauseAccepting();
}

void ServerSocket::hold(QTcpSocket* connection)
{
    // A client that gave up in the backlog leaves nothing to serve.
    if (connection->state() != QAbstractSocket::ConnectedState) {
        connection->deleteLater();
        return;
    }
    TCPSocket* socket = takeSpare();
    if (!socket) {
        connection->abort();
        connection->deleteLater();
        return;
    }
    m_waiting.append(socket);
    connect(socket, &TCPSocket::closed, this, [this, socket] { onClosed(socket); });
    socket->hold(connection);
    topUpSpares();
}

void ServerSocket::openWaiting()
{
    while (m_open.size() < m_maximumConnected && !m_waiting.isEmpty()) {
        TCPSocket* socket = m_waiting.takeFirst();
        m_open.append(socket);
        socket->open();
    }
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
// later, and the next client is taken from the event loop. A held connection
// that ends was never opened and leaves only its place.
void ServerSocket::onClosed(TCPSocket* socket)
{
    if (!m_open.removeOne(socket) && !m_waiting.removeOne(socket))
        return;
    socket->deleteLater();
    QMetaObject::invokeMethod(this, &ServerSocket::acceptWaiting, Qt::QueuedConnection);
}
