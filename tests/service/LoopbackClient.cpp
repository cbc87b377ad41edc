#include "LoopbackClient.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

LoopbackClient::LoopbackClient(int port)
{
    m_reading = QObject::connect(&m_socket, &QTcpSocket::readyRead,
                                 [this] { m_received += m_socket.readAll(); });
    QObject::connect(&m_socket, &QTcpSocket::disconnected, [this] {
        if (m_socket.isOpen())
            m_received += m_socket.readAll();
        m_closed = true;
    });
    m_socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    runUntil(ConnectLimit, [this] { return m_socket.state() == QAbstractSocket::ConnectedState; });
}

void LoopbackClient::send(const QByteArray& bytes, std::chrono::milliseconds settle)
{
    write(bytes);
    runFor(settle);
}

void LoopbackClient::write(const QByteArray& bytes)
{
    m_socket.write(bytes);
    m_socket.flush();
}

// The smallest buffer Qt keeps: one byte, then the socket is not read.
void LoopbackClient::stopReading()
{
    QObject::disconnect(m_reading);
    m_socket.setReadBufferSize(1);
}

void LoopbackClient::runFor(std::chrono::milliseconds duration)
{
    runUntil(duration, [] { return false; });
}

bool LoopbackClient::waitForClose(std::chrono::milliseconds limit)
{
    runUntil(limit, [this] { return m_closed; });
    return m_closed;
}

bool LoopbackClient::isConnected() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState && !m_closed;
}

QByteArray LoopbackClient::exchange(int port, const QByteArray& request)
{
    LoopbackClient client(port);
    client.send(request);
    client.waitForClose();
    return client.received();
}

void LoopbackClient::runUntil(std::chrono::milliseconds limit, const std::function<bool()>& done)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    deadline.start(limit);
    poll.start(std::chrono::milliseconds(5));
    loop.exec();
}
