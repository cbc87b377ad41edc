#include "ServiceTest.h"

#include "SingleHTTPSocket.h"
#include "TestEnvironment.h"

#include <QRegularExpression>

const QString ServiceTest::FourUnits = QStringLiteral(
    R"([{"name":"Lamp","ID":"1","dimmable":"true","value":"40"},)"
    R"({"name":"Fan","ID":"2","dimmable":"false","value":"1"},)"
    R"({"name":"Porch/Door","ID":"3","dimmable":"true","value":"0"},)"
    R"({"name":"Desk","ID":"4","dimmable":"false","value":"0"}])");

ServiceTest::ServiceTest() : m_testApp(FourUnits)
{
    app.LogFI = m_logFolder.filePath(QStringLiteral("test.log"));
    app.ShouldLog = true;
}

int ServiceTest::startListener(std::chrono::milliseconds requestTimeLimit)
{
    m_listener = std::make_unique<ServerSocket>();
    m_listener->setPort(0);
    m_listener->AddSocket = [requestTimeLimit] { return new SingleHTTPSocket(requestTimeLimit); };
    if (!m_listener->Listen())
        return 0;
    return m_listener->boundPort();
}

QStringList ServiceTest::logLines() const
{
    static const QRegularExpression stamp(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d: )"));
    QStringList lines = TestEnvironment::fileText(app.LogFI).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        line.remove(stamp);
    return lines;
}

QString ServiceTest::hostScript(const QString& command)
{
    return QStringLiteral("tell Application \"Halvory\"\r") + command + QStringLiteral("\rend tell\r");
}
