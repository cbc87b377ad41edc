#include "StandinTest.h"

#include "ProcessScriptRunner.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString TestList = QStringLiteral("Tolvane");

QJsonArray unitArray(const QList<Unit>& units)
{
    QJsonArray array;
    for (const Unit& unit : units)
        array.append(QJsonObject{{QStringLiteral("name"), unit.name},
                                 {QStringLiteral("ID"), unit.id},
                                 {QStringLiteral("dimmable"), unit.dimmable},
                                 {QStringLiteral("value"), unit.value}});
    return array;
}

} // namespace

void StandinTest::SetUp()
{
    QDir(QFileInfo(storePath()).absolutePath()).removeRecursively();
}

void StandinTest::TearDown()
{
    QDir(QFileInfo(storePath()).absolutePath()).removeRecursively();
}

QString StandinTest::storePath()
{
    return TestEnvironment::home() + QStringLiteral("/.local/share/Halvory/units.json");
}

void StandinTest::writeStore(const QList<Unit>& units, const QJsonArray& accounts)
{
    const QJsonObject store{{QStringLiteral("lists"), QJsonObject{{TestList, unitArray(units)}}},
                            {QStringLiteral("accounts"), accounts}};
    writeStoreText(QJsonDocument(store).toJson());
}

void StandinTest::writeStoreText(const QByteArray& text)
{
    ASSERT_TRUE(TestEnvironment::writeFile(storePath(), text));
}

QByteArray StandinTest::storeText()
{
    EXPECT_TRUE(QFileInfo(storePath()).isReadable()) << storePath().toStdString();
    return TestEnvironment::fileBytes(storePath());
}

QList<Unit> StandinTest::storedUnits()
{
    const QJsonArray array = QJsonDocument::fromJson(storeText())[QStringLiteral("lists")][TestList].toArray();
    QList<Unit> units;
    for (const QJsonValue& unit : array)
        units.append({unit[QStringLiteral("name")].toString(), unit[QStringLiteral("ID")].toString(),
                      unit[QStringLiteral("dimmable")].toBool(), unit[QStringLiteral("value")].toInteger()});
    return units;
}

ScriptResult StandinTest::execute(const QString& script)
{
    return ProcessScriptRunner(StandinProcess::program()).execute(script);
}

StandinRun StandinTest::run(const QString& script)
{
    return StandinProcess::run({}, script.toUtf8());
}

QString StandinTest::errorLine(const QString& message)
{
    return QStringLiteral("halvory-standin: ") + message + u'\n';
}
