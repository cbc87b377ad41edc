#pragma once

#include "Datagram.h"

#include <QHash>
#include <QList>
#include <QNetworkInterface>
#include <QObject>
#include <QQueue>

class QUdpSocket;

// A UDP socket as the discovery responder uses it.
//
// Port is both the port that Connect binds (unless BindsPort is off) and the
// port to which Write sends; the caller sets it. Received datagrams are
// queued, at most MaximumDatagramsWaiting of them; DataAvailable is raised
// once per queued datagram, and each handler reads exactly one. A socket that
// only sends queues nothing: what reaches its port is dropped.
class UDPSocket : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultRouterHops = 2;
    // Datagrams that arrive while the queue is full are dropped, as the
    // kernel drops them when its own buffer is full: a flood then costs
    // neither memory nor the time to answer what comes after it.
    static constexpr qsizetype MaximumDatagramsWaiting = 256;

    explicit UDPSocket(QObject* parent = nullptr);
    ~UDPSocket() override;

    int Port() const { return m_port; }
    void setPort(int port) { m_port = port; }

    // Hop limit of multicasts sent from this socket.
    int RouterHops() const { return m_routerHops; }
    void setRouterHops(int hops) { m_routerHops = hops; }

    // Whether this socket receives its own multicasts.
    bool SendToSelf() const { return m_sendToSelf; }
    void setSendToSelf(bool on) { m_sendToSelf = on; }

    // Off for a socket that only sends: Connect then binds an ephemeral port,
    // so Port names only the destination, and datagrams that arrive at that
    // port are dropped.
    bool BindsPort() const { return m_bindsPort; }
    void setBindsPort(bool on) { m_bindsPort = on; }

    // (Re)binds the socket, with address reuse so other SSDP listeners on the
    // machine can share the port. A send-only socket that is bound already
    // keeps its ephemeral port. Returns whether the bind succeeded.
    bool Connect();
    bool JoinMulticastGroup(const QString& group);
    void LeaveMulticastGroup(const QString& group);

    // Takes the oldest waiting datagram; an empty Datagram when none waits.
    Datagram Read();

    // This machine's IPv4 address on the interface that reaches the sender of
    // the datagram last read, dotted text; loopback senders give 127.0.0.1.
    // Datagrams still waiting have no say, so a reply built after Read names
    // the address its own requester can reach.
    QString LocalAddress() const;

    // The port actually bound, useful when Port was 0.
    int boundPort() const;

    void Write(const QString& address, const QByteArray& data);
    void Close();

signals:
    void DataAvailable();
    void Error();
    void SendComplete(bool userAborted);

private:
    void drainPending();
    void raiseDataAvailable();
    void deliverDataAvailable();
    QUdpSocket* socket();
    void applyOptions();

    // Owned; a replaced socket is closed at once and deleted later, so a
    // rebind from inside one of its own signals stays safe.
    QUdpSocket* m_socket = nullptr;
    QQueue<Datagram> m_queue;
    QString m_lastSender;
    // Per group, the interfaces it was joined on; an invalid interface
    // stands for the default one.
    QHash<QString, QList<QNetworkInterface>> m_joined;
    int m_port = 0;
    int m_routerHops = DefaultRouterHops;
    bool m_sendToSelf = false;
    bool m_bindsPort = true;
    bool m_raiseScheduled = false;
};
