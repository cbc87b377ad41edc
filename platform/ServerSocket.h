#pragma once

#include <QObject>
#include <QList>
#include <functional>
#include <memory>

class QTcpServer;
class QTcpSocket;
class TCPSocket;

// A listening TCP socket that serves its connections one at a time.
//
// It keeps MinimumSocketsAvailable spare connection objects, obtained through
// AddSocket, and hands each accepted connection to a spare. At most
// MaximumSocketsConnected connections are open. Up to
// MaximumConnectionsWaiting more are taken off the backlog and held, each
// collecting its client's bytes under its own time limit (see TCPSocket),
// and opened in the order they arrived as open ones close; so a slow client
// costs only its own time. Past that many, clients wait in the backlog.
class ServerSocket : public QObject {
    Q_OBJECT
public:
    static constexpr int MaximumConnectionsWaiting = 64;

    explicit ServerSocket(QObject* parent = nullptr);
    ~ServerSocket() override;

    // Set by the caller before Listen; 0 listens on any free port.
    int Port() const { return m_port; }
    void setPort(int port) { m_port = port; }
    int MinimumSocketsAvailable() const { return m_minimumAvailable; }
    void setMinimumSocketsAvailable(int n) { m_minimumAvailable = n; }
    int MaximumSocketsConnected() const { return m_maximumConnected; }
    void setMaximumSocketsConnected(int n) { m_maximumConnected = n; }

    // The AddSocket event: returns a new, constructed connection object.
    // The listener takes ownership.
    std::function<TCPSocket*()> AddSocket;

    // Accepts connections on Port (all IPv4 addresses) from now on.
    bool Listen();
    // The port actually listened on, useful when Port was 0.
    int boundPort() const;
    int openConnections() const { return m_open.size(); }

private:
    void acceptWaiting();
    void hold(QTcpSocket* connection);
    void openWaiting();
    TCPSocket* takeSpare();
    void topUpSpares();
    void onClosed(TCPSocket* socket);

    std::unique_ptr<QTcpServer> m_server;
    QList<TCPSocket*> m_spares;
    QList<TCPSocket*> m_waiting; // held, in the order they arrived
    QList<TCPSocket*> m_open;
    int m_port = 0;
    int m_minimumAvailable = 1;
    int m_maximumConnected = 1;
};
