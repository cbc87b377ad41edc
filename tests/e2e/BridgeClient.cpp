#include "BridgeClient.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QUdpSocket>

QByteArray BridgeClient::http(const QByteArray& method, const QByteArray& path,
                                const QByteArray& body, int port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    if (!socket.waitForConnected(int(TimeLimit.count())))
        return {};
    QByteArray request = method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    if (!body.isEmpty())
        request += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    socket.write(request + "\r\n" + body);
    QByteArray reply;
    QElapsedTimer timer;
    timer.start();
    while (socket.state() == QAbstractSocket::ConnectedState && timer.elapsed() < TimeLimit.count()) {
        socket.waitForReadyRead(100);
        reply += socket.readAll();
    }
    return reply + socket.readAll();
}

QByteArray BridgeClient::search(const QString& address, const QByteArray& datagram)
{
    QUdpSocket socket;
    socket.bind(QHostAddress::AnyIPv4, 0);
    socket.writeDatagram(datagram, QHostAddress(address), Bridge::DiscoveryPort);
    if (!socket.waitForReadyRead(int(TimeLimit.count())))
        return {};
    return socket.receiveDatagram().data();
}

QByteArray BridgeClient::body(const QByteArray& reply)
{
    const qsizetype end = reply.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : reply.mid(end + 4);
}

QByteArray BridgeClient::mSearch(const QByteArray& searchTarget)
{
    return "M-SEARCH * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\nMAN: \"ssdp:discover\"\r\nMX: 1\r\nST: "
           + searchTarget + "\r\n\r\n";
}
