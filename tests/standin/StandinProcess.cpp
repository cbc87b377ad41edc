#include "StandinProcess.h"

#include "TestEnvironment.h"

#include <QProcess>
#include <gtest/gtest.h>

QString StandinProcess::program()
{
    return TestEnvironment::binDir() + QStringLiteral("/halvory-standin");
}

StandinRun StandinProcess::run(const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    process.start(program(), arguments);
    EXPECT_TRUE(process.waitForStarted(int(TimeLimit.count()))) << process.errorString().toStdString();
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(int(TimeLimit.count()))) {
        ADD_FAILURE() << "halvory-standin did not finish within " << TimeLimit.count() << " ms";
        process.kill();
        process.waitForFinished(int(TimeLimit.count()));
        return {};
    }
    StandinRun result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}
