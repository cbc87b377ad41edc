#pragma once

#include "TCPSocket.h"

#include <QByteArray>
#include <QString>
#include <chrono>

// One connection of the emulated bridge's HTTP listener.
//
// It collects bytes until one request is complete (see HTTPRequestFrame),
// handles that request once, sends one reply and closes when the reply is
// out. Whatever arrives after the request is ignored. A connection never
// holds the listener: a request that is not complete within the time limit,
// counted from the accept, closes the connection (see TCPSocket), and one
// that grows too large gets the 400 reply.
//
// Routes (the path is lower-cased whole, its query included):
//   GET /description.xml                the UPnP device description
//   GET /hue_logo_0.png, /hue_logo_3.png, /index.html   the 404 reply
//   GET /api/<user>/lights              the whole light list
//   GET /api/<user>/lights/<n>          one light
//   PUT /api/<user>/lights/<n>/state    switch and dim light <n>
// Anything else gets the 400 reply.
class SingleHTTPSocket : public TCPSocket {
public:
    static constexpr std::chrono::milliseconds RequestTimeLimit{10'000};

    SingleHTTPSocket();
    explicit SingleHTTPSocket(std::chrono::milliseconds requestTimeLimit);

protected:
    void Event_Connected() override;
    void Event_DataAvailable() override;
    void Event_SendComplete(bool userAborted) override;
    bool isRequestComplete(QByteArrayView received) const override;

private:
    void ParseRequestHeaders(const QByteArray& data);
    QString logRequestLine(const QByteArray& data);
    void Return400_BAD_REQUEST();
    void Return404Error();

    void processGET(const QString& path);
    void ReturnDescription();
    void ReturnLights();
    void ReturnLight(qint64 lightNumber);

    void processPUT(const QString& path, const QByteArray& body);

    QByteArray replyHead(const QByteArray& contentType) const;
    void sendReadReply(const QByteArray& contentType, const QByteArray& body);
    // A reply already made, its body starting at bodyStart behind the head.
    void sendReadReply(QByteArray reply, qsizetype bodyStart);
    void sendReply(const QByteArray& reply);
    void stopReceiving();

    QByteArray crlf;
    QByteArray InboundRequest;
    bool m_requestHandled = false;
};
