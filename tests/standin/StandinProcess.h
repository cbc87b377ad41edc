#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>

// One run of halvory-standin as a child, with everything it printed. The
// script runner hides standard error and the exit code; this does not.
struct StandinRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class StandinProcess {
public:
    static constexpr std::chrono::milliseconds TimeLimit{10000};

    static QString program();
    // Runs the stand-in with arguments, feeding it input on standard input.
    // Fails the current test when it does not end within the time limit.
    static StandinRun run(const QStringList& arguments, const QByteArray& input = {});
};
