#pragma once

#include "ScriptRunner.h"

#include <chrono>

// Hands script texts to an osascript-compatible program: started with no
// arguments, it reads the script on standard input, prints the result on
// standard output and exits 0. Any other exit, a failure to start or a run
// past the time limit (the child is then killed) gives no result. A quit
// signal ends a run at once, as a failure: the child is killed and reaped,
// and no new one is started.
class ProcessScriptRunner : public ScriptRunner {
public:
    static constexpr std::chrono::milliseconds TimeLimit{std::chrono::seconds{10}};

    // The program fixed at build time (TOLVANE_SCRIPT_RUNNER).
    static QString defaultProgram();

    explicit ProcessScriptRunner(QString program = defaultProgram(), std::chrono::milliseconds timeLimit = TimeLimit);

    ScriptResult execute(const QString& source) override;
    const QString& program() const { return m_program; }

private:
    QString m_program;
    std::chrono::milliseconds m_timeLimit;
};
