#include "SingleHTTPSocket.h"

#include "App.h"
#include "Bridge.h"
#include "DescriptionDocument.h"
#include "HTTPReplies.h"
#include "HTTPRequestFrame.h"
#include "JSONItem.h"
#include "LightStateChange.h"
#include "RequestPath.h"
#include "Utf8Text.h"

#include <QStringList>
#include <cstring>

namespace {

const QString LogInboundRequest = QStringLiteral("Inbound Request: ");

const QString MethodGET = QStringLiteral("get");
const QString MethodPUT = QStringLiteral("put");

const QString RouteDescription = QStringLiteral("description.xml");
const QString RouteAPI = QStringLiteral("api");
const QString RouteLights = QStringLiteral("lights");
const QString ActionState = QStringLiteral("state");
// Named by the description; recognised, but there is nothing to send.
const QStringList RoutesWithoutContent = {QStringLiteral("hue_logo_0.png"),
                                          QStringLiteral("hue_logo_3.png"),
                                          QStringLiteral("index.html")};

const QString StatusDescription = QStringLiteral("Sending XML description");
const QString StatusAllLights = QStringLiteral("Sending status for all lights");
const QString StatusOneLight = QStringLiteral("Sending status for light ");
const QString StatusSentOn = QStringLiteral("Sent ON for light ");
const QString StatusSentOff = QStringLiteral("Sent OFF for light ");
const QString StatusSentBri = QStringLiteral("Sent BRI for light ");
const QString StatusBriTo = QStringLiteral(" to ");

constexpr std::string_view MemberOn = "on";
constexpr std::string_view MemberBri = "bri";
constexpr std::string_view MemberName = "name";

// The three read replies turn the first line end of their body into CR LF.
constexpr QByteArrayView PlatformLineEnding = "\n";

constexpr int FieldTarget = 2;
constexpr int FieldCollection = 4;
constexpr int FieldLight = 5;
constexpr int FieldAction = 6;

// Appends the JSON text of the light list to reply with each "\/" written
// as "/" again; every other escape stays as it is. Runs between backslashes
// are copied whole, straight into the reply.
void appendWithPlainSlashes(QByteArray& reply, const std::string& json)
{
    reply.reserve(reply.size() + qsizetype(json.size()));
    const char* at = json.data();
    const char* const end = at + json.size();
    while (at != end) {
        const char* backslash = static_cast<const char*>(std::memchr(at, '\\', std::size_t(end - at)));
        if (!backslash || backslash + 1 == end) {
            reply.append(at, qsizetype(end - at));
            break;
        }
        if (backslash[1] == '/')
            reply.append(at, qsizetype(backslash - at));
        else
            reply.append(at, qsizetype(backslash + 1 - at));
        reply.append(backslash[1]);
        at = backslash + 2;
    }
}

QString unitName(const JSONItem& light)
{
    return Utf8Text::decoded(light.Value(MemberName).toText());
}

} // namespace

SingleHTTPSocket::SingleHTTPSocket() : SingleHTTPSocket(RequestTimeLimit) {}

SingleHTTPSocket::SingleHTTPSocket(std::chrono::milliseconds requestTimeLimit)
    : TCPSocket(requestTimeLimit), crlf(QByteArrayLiteral("\r\n"))
{
}

void SingleHTTPSocket::Event_Connected()
{
    InboundRequest.clear();
    m_requestHandled = false;
}

void SingleHTTPSocket::Event_DataAvailable()
{
    const QByteArray received = ReadAll();
    if (m_requestHandled)
        return;
    InboundRequest.append(received);
    const HTTPRequestFrame frame = HTTPRequestFrame::examine(
        std::string_view(InboundRequest.constData(), std::size_t(InboundRequest.size())));
    switch (frame.status) {
    case HTTPRequestFrame::Status::Incomplete:
        return;
    case HTTPRequestFrame::Status::Rejected:
        stopReceiving();
        // Refused by its framing, it has no body to log: its end is what failed.
        logRequestLine(InboundRequest);
        Return400_BAD_REQUEST();
        return;
    case HTTPRequestFrame::Status::Complete:
        stopReceiving();
        ParseRequestHeaders(InboundRequest.first(qsizetype(frame.totalLength)));
        return;
    }
}

void SingleHTTPSocket::Event_SendComplete(bool userAborted)
{
    Q_UNUSED(userAborted);
    Close();
}

void SingleHTTPSocket::stopReceiving()
{
    m_requestHandled = true;
    requestReceived();
}

// A refused request is as ready to be answered as a complete one.
bool SingleHTTPSocket::isRequestComplete(QByteArrayView received) const
{
    const std::string_view bytes(received.constData(), std::size_t(received.size()));
    return HTTPRequestFrame::examine(bytes).status != HTTPRequestFrame::Status::Incomplete;
}

// data is one complete request: the request line, the header lines, the
// empty line and the body.
void SingleHTTPSocket::ParseRequestHeaders(const QByteArray& data)
{
    try {
        const QString requestLine = logRequestLine(data);
        const QByteArray body = data.sliced(data.indexOf(crlf + crlf) + 2 * crlf.size());
        if (!body.isEmpty())
            App().WriteToLog(QString::fromUtf8(body));

        // Split at single blanks: two blanks in a row make an empty field.
        const QStringList fields = requestLine.split(QLatin1Char(' '));
        const QString method = fields.value(0).toLower();
        const QString path = fields.value(1).toLower();
        if (method == MethodGET)
            processGET(path);
        else if (method == MethodPUT)
            processPUT(path, body);
        else
            Return400_BAD_REQUEST();
    } catch (...) {
        Return400_BAD_REQUEST();
    }
}

// Every request buffer handled is logged by its request line, the text before
// its first CR LF, when it has one.
QString SingleHTTPSocket::logRequestLine(const QByteArray& data)
{
    const qsizetype lineEnd = data.indexOf(crlf);
    if (lineEnd < 0)
        return {};
    const QString requestLine = QString::fromUtf8(data.first(lineEnd));
    App().WriteToLog(LogInboundRequest + requestLine);
    return requestLine;
}

void SingleHTTPSocket::Return400_BAD_REQUEST()
{
    sendReply(HTTPReplies::StatusBadRequest + crlf + crlf);
}

void SingleHTTPSocket::Return404Error()
{
    sendReply(HTTPReplies::StatusNotFound + crlf + crlf);
}

void SingleHTTPSocket::processGET(const QString& path)
{
    try {
        const QString target = RequestPath::field(path, FieldTarget);
        if (target == RouteDescription) {
            ReturnDescription();
            App().ShowStatus(StatusDescription);
        } else if (RoutesWithoutContent.contains(target)) {
            Return404Error();
        } else if (target == RouteAPI && RequestPath::field(path, FieldCollection) == RouteLights) {
            const QString light = RequestPath::field(path, FieldLight);
            if (light.isEmpty()) {
                ReturnLights();
                App().ShowStatus(StatusAllLights);
            } else {
                ReturnLight(RequestPath::lightNumber(light));
                App().ShowStatus(StatusOneLight + light);
            }
        } else {
            Return400_BAD_REQUEST();
        }
    } catch (...) {
        Return400_BAD_REQUEST();
    }
}

void SingleHTTPSocket::ReturnDescription()
{
    sendReadReply(HTTPReplies::ContentTypeXML,
                  DescriptionDocument::render(LocalAddress(), Port(), Bridge::DeviceUUID));
}

// The body is unescaped straight into the reply behind its head: the text is
// large, and each copy of it shows in the reply's time.
void SingleHTTPSocket::ReturnLights()
{
    App().RefreshLightArray();
    QByteArray reply = replyHead(HTTPReplies::ContentTypeJSON);
    const qsizetype bodyStart = reply.size();
    appendWithPlainSlashes(reply, App().LightArray->ToString());
    sendReadReply(std::move(reply), bodyStart);
}

// Unlike the whole list, one light keeps its escaped slashes.
void SingleHTTPSocket::ReturnLight(qint64 lightNumber)
{
    App().RefreshLightArray();
    const std::string key = std::to_string(lightNumber);
    const std::string json = App().LightArray->Value(key).toItem()->ToString();
    sendReadReply(HTTPReplies::ContentTypeJSON, QByteArray::fromStdString(json));
}

// A state change that ends in the 400 reply undoes nothing: the light list
// has been rebuilt, commands already sent stay sent, and a status text
// already set stays. Only the success reply is held back until every step
// has succeeded.
void SingleHTTPSocket::processPUT(const QString& path, const QByteArray& body)
{
    try {
        App().RefreshLightArray();
        const QString lightNumber = RequestPath::field(path, FieldLight);
        const std::shared_ptr<JSONItem> light =
            App().LightArray->Value(lightNumber.toStdString()).toItem();
        if (RequestPath::field(path, FieldAction) != ActionState) {
            Return400_BAD_REQUEST();
            return;
        }

        const JSONItem request(std::string_view(body.constData(), std::size_t(body.size())));
        // A top-level array has no members: nothing to carry out.
        const bool hasOn = !request.IsArray() && request.HasName(MemberOn);
        const bool hasBri = !request.IsArray() && request.HasName(MemberBri);
        const QString name = hasOn || hasBri ? unitName(*light) : QString();
        QByteArrayList successes;
        if (hasOn) {
            const bool on = request.Value(MemberOn).toBoolean();
            App().CommandUnit(name, on);
            successes.append(LightStateChange::onSuccess(lightNumber, on));
            App().ShowStatus((on ? StatusSentOn : StatusSentOff) + name);
        }
        if (hasBri) {
            const qint64 bri = request.Value(MemberBri).toInteger();
            const qint64 percent = LightStateChange::brightnessPercent(bri);
            App().CommandUnitBRI(name, percent);
            successes.append(LightStateChange::briSuccess(lightNumber, bri));
            App().ShowStatus(StatusSentBri + name + StatusBriTo + QString::number(percent));
        }
        sendReply(replyHead(HTTPReplies::ContentTypeJSON)
                  + LightStateChange::successResponse(successes));
    } catch (...) {
        Return400_BAD_REQUEST();
    }
}

QByteArray SingleHTTPSocket::replyHead(const QByteArray& contentType) const
{
    return HTTPReplies::StatusOK + crlf + HTTPReplies::CacheControl + crlf + contentType + crlf
           + crlf;
}

void SingleHTTPSocket::sendReadReply(const QByteArray& contentType, const QByteArray& body)
{
    const QByteArray head = replyHead(contentType);
    sendReadReply(head + body, head.size());
}

void SingleHTTPSocket::sendReadReply(QByteArray reply, qsizetype bodyStart)
{
    const qsizetype lineEnd = reply.indexOf(PlatformLineEnding, bodyStart);
    if (lineEnd >= 0)
        reply.replace(lineEnd, PlatformLineEnding.size(), crlf);
    sendReply(reply);
}

// Every reply goes out as one write of the whole text.
void SingleHTTPSocket::sendReply(const QByteArray& reply)
{
    Write(reply);
    Flush();
}
