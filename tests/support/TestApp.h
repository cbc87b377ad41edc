#pragma once

#include "App.h"
#include "FakeWindow.h"
#include "RecordingScriptRunner.h"

#include <memory>
#include <optional>

// An application object registered for one test, with a host that answers at
// once and the window's status line and light rows stood in for. Logging is
// off unless a test turns it on.
struct TestApp {
    explicit TestApp(std::optional<QString> unitListText = std::nullopt)
    {
        auto runner = std::make_unique<RecordingScriptRunner>(std::move(unitListText));
        host = runner.get();
        app.setScriptRunner(std::move(runner));
        app.setStatusLine(&status);
        app.setLightRows(&rows);
        app.ShouldLog = false;
        app.registerAsApplication();
    }

    FakeStatusLine status;
    FakeLightRows rows;
    core::App app;
    RecordingScriptRunner* host = nullptr;
};
