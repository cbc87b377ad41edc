#include "Program.h"

#include "App.h"
#include "MainMenuBar.h"
#include "MainWindow.h"
#include "QuitSignals.h"
#include "SystemFolders.h"

#include <QApplication>

namespace {
// Set by a quit that comes before the event loop runs, which Qt would drop.
bool quitRequested = false;
} // namespace

namespace ui {

// The quit signals come first: from here on a signal quits through the quit
// sequence, even one that comes while the first host read blocks start-up.
Program::Program(core::App& app) : m_app(app), m_quitSignals(std::make_unique<QuitSignals>(&Program::quit))
{
    quitRequested = false;
    SystemFolders::makeStandardFolders();
    // On Linux the application object shows no menu bar of its own: building
    // it is all there is to attaching it.
    ::MainMenuBar();
    m_app.registerAsApplication();
    App().Event_Open();
    // Only now: the window's open handling shows and uses the settings that
    // the application object's open handling has just read.
    ::MainWindow();
}

Program::~Program()
{
    releaseMainWindow();
}

int Program::exec()
{
    const int code = quitRequested ? 0 : QApplication::exec();
    closeDown();
    return code;
}

// QApplication closes every window before it quits, and a window that
// refuses would cancel the quit.
void Program::quit()
{
    if (ui::MainWindow* window = existingMainWindow())
        window->allowClose();
    quitRequested = true;
    QCoreApplication::quit();
}

void Program::closeDown()
{
    if (ui::MainWindow* window = existingMainWindow())
        window->Event_Close();
    m_app.Event_Close();
}

} // namespace ui
