#pragma once

#include "ScriptResult.h"

#include <QString>

// Runs one host script text synchronously and gives its result. The caller
// blocks until the host has answered, the script failed, the runner's own
// time limit ran out or a quit signal came.
class ScriptRunner {
public:
    virtual ~ScriptRunner() = default;
    virtual ScriptResult execute(const QString& source) = 0;
};
