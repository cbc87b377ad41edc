#pragma once

#include <QString>
#include <memory>

class ActivityToken;
class JSONItem;
class LightRows;
class ScriptRunner;
class StatusLine;

namespace core {

// The application object: the six settings, the log file, the process
// activity and the light list, with the operations the rest of the program
// calls. Exactly one is registered per process; reach it through ::App().
//
// The class lives in namespace core only so that the global accessor can be
// spelled App() as well.
class App {
public:
    App();
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Makes this object the one that ::App() returns.
    void registerAsApplication();

    void Event_Open();
    void Event_Close();

    void RefreshLightArray();
    void WriteToLog(const QString& message);
    QString GetUnitsInList();
    void CommandUnit(const QString& name, bool on);
    void CommandUnitBRI(const QString& name, qint64 level);
    void ReadPrefs();
    void WritePref();

    // The window's status line and light rows; null until the window exists.
    // A status text set while there is no status line is shown once one is
    // attached.
    void setStatusLine(StatusLine* statusLine);
    void setLightRows(LightRows* lightRows);
    void ShowStatus(const QString& text);

    // Where host scripts go; by default the build's osascript-compatible
    // program.
    void setScriptRunner(std::unique_ptr<ScriptRunner> runner);

    QString LogFI; // path of the log file; empty until the open handling
    std::shared_ptr<JSONItem> LightArray;
    std::shared_ptr<ActivityToken> Activity;
    bool ShouldLog = true;
    bool RunningLocal = true;
    QString UserName;
    QString PW;
    QString IPAddress;
    bool LessStrictUPNP = false;

private:
    QString scriptHeader() const;

    std::unique_ptr<ScriptRunner> m_scriptRunner;
    StatusLine* m_statusLine = nullptr;
    LightRows* m_lightRows = nullptr;
    QString m_pendingStatus;
};

} // namespace core

// The registered application object. Throws std::logic_error when none is
// registered.
core::App& App();
