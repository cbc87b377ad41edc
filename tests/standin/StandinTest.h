#pragma once

#include "HostScripts.h"
#include "ScriptResult.h"
#include "StandinProcess.h"
#include "Unit.h"

#include <QJsonArray>
#include <QList>
#include <QString>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// The header of the program's scripts to Halvory on this machine. The tests
// send the scripts HostScripts builds, so they show that the stand-in takes
// exactly what the program sends. HostScripts' texts are only sure to be set
// once main has started: tables of scripts are made by functions, not as
// static arrays.
inline QString localHeader()
{
    return HostScripts::header(true, QString(), QString(), QString());
}

// How test failures show a unit of the store.
inline void PrintTo(const Unit& unit, std::ostream* out)
{
    *out << '{' << unit.name.toStdString() << ", " << unit.id.toStdString() << ", "
         << (unit.dimmable ? "dimmable" : "switch") << ", " << unit.value << '}';
}

// Each test starts without a unit store in the stand-in's default place,
// inside the test binary's own home folder, and may write one there.
class StandinTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static QString storePath();
    // A store whose list "Tolvane" holds units.
    static void writeStore(const QList<Unit>& units, const QJsonArray& accounts = {});
    static void writeStoreText(const QByteArray& text);
    static QByteArray storeText();
    // The units of the list "Tolvane" as the store file now holds them.
    static QList<Unit> storedUnits();

    // The script run as the program runs it, through its script runner.
    static ScriptResult execute(const QString& script);
    // The script run with everything the stand-in printed and its exit code.
    static StandinRun run(const QString& script);
    static QString errorLine(const QString& message);
};
