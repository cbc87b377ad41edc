#include "App.h"

#include "FileAppender.h"
#include "HeapTuning.h"
#include "HostScripts.h"
#include "JSONItem.h"
#include "LightList.h"
#include "LogFile.h"
#include "Preferences.h"
#include "ProcessInfo.h"
#include "ProcessScriptRunner.h"
#include "SystemFolders.h"
#include "StatusLine.h"

#include <QDir>
#include <stdexcept>
#include <utility>

namespace {

// The activity keeps the system from napping the process while it serves.
constexpr quint64 ActivityOptions = 255;
const QString ActivityReason = QStringLiteral("Starting HTTP Server that cannot Nap");

const QString LogFolderName = QStringLiteral("Halvory Tolvane");
const QString LogFileName = QStringLiteral("Halvory Tolvane.log");
const QString StartLine = QStringLiteral("Halvory Tolvane has started.");
const QString LogUnavailable = QStringLiteral("Unable to create log file");

// What the unit list gives when the host returns nothing: no lights.
const QString NoUnits = QStringLiteral("{}");

core::App* registeredApp = nullptr;

} // namespace

namespace core {

App::App() : m_scriptRunner(std::make_unique<ProcessScriptRunner>()) {}

App::~App()
{
    if (registeredApp == this)
        registeredApp = nullptr;
}

void App::registerAsApplication()
{
    registeredApp = this;
}

void App::Event_Open()
{
    Activity = ProcessInfo::processInfo().beginActivity(ActivityOptions, ActivityReason);
    // Only the last level is made; whether it already existed does not matter.
    const QString logFolder = QDir(SystemFolders::UserLogs()).filePath(LogFolderName);
    FileAppender::createFolder(logFolder);
    LogFI = QDir(logFolder).filePath(LogFileName);
    // ShouldLog still holds its start value here, so every run logs this line.
    WriteToLog(StartLine);
    ReadPrefs();
}

void App::Event_Close()
{
    Activity.reset();
}

void App::RefreshLightArray()
{
    // The previous list goes first: a unit list that does not parse leaves
    // the list empty and the rows as they were.
    LightArray = std::make_shared<JSONItem>();
    {
        const QByteArray text = GetUnitsInList().toUtf8();
        const JSONItem units(std::string_view(text.constData(), static_cast<size_t>(text.size())));
        LightList::build(units, *LightArray, m_lightRows);
    }
    // The spent list and the parsed units are freed by now; after a huge
    // list that is a lot of memory the heap would otherwise keep.
    HeapTuning::returnFreedMemory();
}

void App::WriteToLog(const QString& message)
{
    if (!ShouldLog)
        return;
    if (!LogFile::append(LogFI, message))
        ShowStatus(LogUnavailable);
}

QString App::GetUnitsInList()
{
    const ScriptResult result = m_scriptRunner->execute(HostScripts::unitListScript(scriptHeader()));
    return result.hasResult() ? result.text : NoUnits;
}

void App::CommandUnit(const QString& name, bool on)
{
    m_scriptRunner->execute(HostScripts::switchScript(scriptHeader(), name, on));
}

void App::CommandUnitBRI(const QString& name, qint64 level)
{
    m_scriptRunner->execute(HostScripts::brightnessScript(scriptHeader(), name, level));
}

void App::ReadPrefs()
{
    Preferences::read(*this);
}

void App::WritePref()
{
    Preferences::write(*this);
}

void App::setStatusLine(StatusLine* statusLine)
{
    m_statusLine = statusLine;
    if (m_statusLine && !m_pendingStatus.isEmpty())
        m_statusLine->setStatusText(std::exchange(m_pendingStatus, QString()));
}

void App::setLightRows(LightRows* lightRows)
{
    m_lightRows = lightRows;
}

void App::ShowStatus(const QString& text)
{
    if (m_statusLine)
        m_statusLine->setStatusText(text);
    else
        m_pendingStatus = text;
}

void App::setScriptRunner(std::unique_ptr<ScriptRunner> runner)
{
    m_scriptRunner = std::move(runner);
}

QString App::scriptHeader() const
{
    return HostScripts::header(RunningLocal, UserName, PW, IPAddress);
}

} // namespace core

core::App& App()
{
    if (!registeredApp)
        throw std::logic_error("no application object is registered");
    return *registeredApp;
}
