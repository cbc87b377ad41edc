#pragma once

#include "ScriptRunner.h"

// Hands script texts to an osascript-compatible program: started with no
// arguments, it reads the script on standard input, prints the result on
// standard output and exits 0. Any other exit, a failure to start or a run
// past the time limit (the child is then killed) gives no result.
class ProcessScriptRunner : public ScriptRunner {
public:
    static constexpr int TimeLimitMs = 10000;

    // The program fixed at build time (TOLVANE_SCRIPT_RUNNER).
    static QString defaultProgram();

    explicit ProcessScriptRunner(QString program = defaultProgram(), int timeLimitMs = TimeLimitMs);

    ScriptResult execute(const QString& source) override;
    const QString& program() const { return m_program; }

private:
    QString m_program;
    int m_timeLimitMs;
};
