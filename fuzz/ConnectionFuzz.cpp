// Arbitrary bytes, sent in arbitrary pieces, to one connection of the bridge
// over loopback. Whatever arrives, the bridge answers with nothing or with one
// HTTP reply, and once the client has gone it is free for the next one.
//
// The first input byte chooses how the rest is cut into pieces.

#include "App.h"
#include "ScriptRunner.h"
#include "ServerSocket.h"
#include "SingleHTTPSocket.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::chrono::milliseconds SettleLimit{2000};
constexpr std::chrono::milliseconds RequestTimeLimit{200};
constexpr std::size_t LargestPiece = 97;

const QString Units = QStringLiteral(
    R"([{"name":"Desk/Lamp","ID":"1","dimmable":"true","value":"40"},)"
    R"({"name":"Fan","ID":"2","dimmable":"false","value":"1"},)"
    R"({"name":"Porch \u00e9","ID":"3","dimmable":"true","value":"0"}])");

class InstantHost : public ScriptRunner {
public:
    ScriptResult execute(const QString& source) override
    {
        return {ScriptResult::Status::Success,
                source.contains(QStringLiteral("with extract")) ? Units : QString()};
    }
};

struct Bridge {
    Bridge() : application(argc, argv)
    {
        app.setScriptRunner(std::make_unique<InstantHost>());
        app.ShouldLog = false;
        app.registerAsApplication();
        server.setPort(0);
        server.AddSocket = [] { return new SingleHTTPSocket(RequestTimeLimit); };
        if (!server.Listen())
            std::abort();
    }

    int argc = 1;
    char name[8] = "fuzz";
    char* argv[2] = {name, nullptr};
    QCoreApplication application;
    core::App app;
    ServerSocket server;
};

Bridge& bridge()
{
    static Bridge instance;
    return instance;
}

[[noreturn]] void fault(const char* what, const QByteArray& reply)
{
    std::fprintf(stderr, "%s\nreply: %s\n", what, reply.left(200).constData());
    std::abort();
}

void pump(QTcpSocket& client, QByteArray& reply)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    reply += client.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bridge& b = bridge();
    if (size == 0)
        return 0;
    const std::size_t pattern = data[0];
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(b.server.boundPort()));
    if (!client.waitForConnected(int(SettleLimit.count())))
        return 0;

    QByteArray reply;
    std::size_t offset = 1;
    for (std::size_t piece = 0; offset < size; ++piece) {
        const std::size_t length = std::min(size - offset, 1 + (pattern * 31 + piece * 7) % LargestPiece);
        client.write(reinterpret_cast<const char*>(data + offset), static_cast<qint64>(length));
        client.flush();
        offset += length;
        pump(client, reply);
    }
    client.disconnectFromHost();

    QElapsedTimer timer;
    timer.start();
    while ((b.server.openConnections() > 0 || client.state() != QAbstractSocket::UnconnectedState)
           && timer.elapsed() < SettleLimit.count())
        pump(client, reply);
    if (b.server.openConnections() > 0)
        fault("the connection still holds the listener after its client left", reply);
    if (!reply.isEmpty() && !reply.startsWith("HTTP/1.1 "))
        fault("a reply that is not HTTP", reply);
    return 0;
}
