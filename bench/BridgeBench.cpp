// Round trips through the running bridge, each beside the bare cost of the
// same exchange with a trivial responder, measured in one run:
//   TCP: connect, write one request, read the reply until close;
//   UDP: one datagram out, one back.
// The bridge runs on an event loop in a thread of its own, with a host that
// answers at once, so the figures are the program's own overhead. The heap
// is set up as the program sets it up.

#include "App.h"
#include "DiscoveryResponder.h"
#include "HeapTuning.h"
#include "ScriptRunner.h"
#include "ServerSocket.h"
#include "SingleHTTPSocket.h"
#include "UDPSocket.h"

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUdpSocket>
#include <benchmark/benchmark.h>
#include <future>

namespace {

// A typical home, and a large one.
constexpr int FewLights = 20;
constexpr int ManyLights = 1000;

// How many units the host reports; set by the client thread per benchmark.
std::atomic<int> hostUnits{ManyLights};
constexpr std::chrono::milliseconds ReplyWait{5000};

QString unitList(int count)
{
    QStringList records;
    for (int i = 0; i < count; ++i)
        records << QStringLiteral(R"({"name":"Unit %1","ID":"%1","dimmable":"true","value":"60"})").arg(i);
    return QLatin1Char('[') + records.join(QLatin1Char(',')) + QLatin1Char(']');
}

class InstantHost : public ScriptRunner {
public:
    ScriptResult execute(const QString& source) override
    {
        if (source.contains(QStringLiteral("with extract")))
            return {ScriptResult::Status::Success, hostUnits == FewLights ? m_few : m_many};
        return {ScriptResult::Status::Success, QString()};
    }

private:
    const QString m_few = unitList(FewLights);
    const QString m_many = unitList(ManyLights);
};

// Everything that answers, living on the server thread.
struct Responders {
    Responders()
    {
        app.setScriptRunner(std::make_unique<InstantHost>());
        app.ShouldLog = false;
        app.registerAsApplication();

        bridge.setPort(0);
        bridge.AddSocket = [] { return new SingleHTTPSocket; };
        bridge.Listen();

        bare.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&bare, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* c = bare.nextPendingConnection()) {
                QObject::connect(c, &QTcpSocket::readyRead, c, [c] {
                    c->readAll();
                    c->write("HTTP/1.1 200 OK\r\n\r\n");
                    c->disconnectFromHost();
                });
                QObject::connect(c, &QTcpSocket::disconnected, c, &QObject::deleteLater);
            }
        });

        discovery.setPort(0);
        discovery.Connect();
        sender.setBindsPort(false);
        QObject::connect(&discovery, &UDPSocket::DataAvailable,
                         [this] { DiscoveryResponder::UPnPSocket_DataAvailable(discovery, sender); });

        echo.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&echo, &QUdpSocket::readyRead, [this] {
            while (echo.hasPendingDatagrams()) {
                const QNetworkDatagram d = echo.receiveDatagram();
                echo.writeDatagram(d.makeReply(d.data()));
            }
        });
    }

    core::App app;
    ServerSocket bridge;
    QTcpServer bare;
    UDPSocket discovery;
    UDPSocket sender;
    QUdpSocket echo;
};

struct Ports {
    quint16 bridge, bare, discovery, echo;
};

class ServerThread : public QThread {
public:
    Ports start()
    {
        QThread::start();
        return m_ports.get_future().get();
    }

protected:
    void run() override
    {
        Responders responders;
        m_ports.set_value({static_cast<quint16>(responders.bridge.boundPort()), responders.bare.serverPort(),
                           static_cast<quint16>(responders.discovery.boundPort()),
                           responders.echo.localPort()});
        exec();
    }

private:
    std::promise<Ports> m_ports;
};

Ports ports;

QByteArray exchange(quint16 port, const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.waitForConnected(int(ReplyWait.count()));
    socket.write(request);
    QByteArray reply;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(int(ReplyWait.count())))
        reply += socket.readAll();
    return reply + socket.readAll();
}

void tcpRoundTrip(benchmark::State& state, quint16 port, const QByteArray& request)
{
    for (auto _ : state) {
        const QByteArray reply = exchange(port, request);
        if (!reply.startsWith("HTTP/1.1 200 OK"))
            state.SkipWithError("no 200 reply");
        benchmark::DoNotOptimize(reply.data());
    }
}

void udpRoundTrip(benchmark::State& state, quint16 port, const QByteArray& datagram)
{
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0);
    for (auto _ : state) {
        socket.writeDatagram(datagram, QHostAddress::LocalHost, port);
        if (!socket.waitForReadyRead(int(ReplyWait.count()))) {
            state.SkipWithError("no reply");
            break;
        }
        benchmark::DoNotOptimize(socket.receiveDatagram().data().size());
    }
}

const QByteArray Search = "M-SEARCH * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\nMAN: \"ssdp:discover\"\r\n"
                          "MX: 1\r\nST: urn:schemas-upnp-org:device:basic:1\r\n\r\n";

void BM_BareTcpRoundTrip(benchmark::State& state)
{
    tcpRoundTrip(state, ports.bare, "GET / HTTP/1.1\r\n\r\n");
}
void BM_PutOn(benchmark::State& state)
{
    hostUnits = static_cast<int>(state.range(0));
    tcpRoundTrip(state, ports.bridge,
                 "PUT /api/bench/lights/0/state HTTP/1.1\r\nContent-Length: 11\r\n\r\n{\"on\":true}");
}
void BM_GetDescription(benchmark::State& state)
{
    tcpRoundTrip(state, ports.bridge, "GET /description.xml HTTP/1.1\r\n\r\n");
}
void BM_GetLights(benchmark::State& state)
{
    hostUnits = static_cast<int>(state.range(0));
    tcpRoundTrip(state, ports.bridge, "GET /api/bench/lights HTTP/1.1\r\n\r\n");
}
void BM_BareUdpEcho(benchmark::State& state)
{
    udpRoundTrip(state, ports.echo, Search);
}
void BM_DiscoveryReply(benchmark::State& state)
{
    udpRoundTrip(state, ports.discovery, Search);
}

BENCHMARK(BM_BareTcpRoundTrip)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetDescription)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PutOn)->Arg(FewLights)->Arg(ManyLights)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetLights)->Arg(FewLights)->Arg(ManyLights)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareUdpEcho)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DiscoveryReply)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    HeapTuning::keepFreedMemory();
    QCoreApplication application(argc, argv);
    ServerThread server;
    ports = server.start();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    server.quit();
    server.wait();
    return 0;
}
