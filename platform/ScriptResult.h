#pragma once

#include <QString>

// What one run of a host script gave. Callers that only need "a text or
// nothing" use hasResult(); the status keeps failure and timeout apart.
struct ScriptResult {
    enum class Status { Success, Failed, TimedOut };

    Status status = Status::Failed;
    QString text; // the script's result; empty unless status is Success

    bool hasResult() const { return status == Status::Success; }
};
