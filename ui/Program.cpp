#include "Program.h"

#include "App.h"
#include "MainMenuBar.h"
#include "MainWindow.h"
#include "QuitSignals.h"

#include <QApplication>

namespace ui {

Program::Program(core::App& app) : m_app(app)
{
    // On Linux the application object shows no menu bar of its own: building
    // it is all there is to attaching it.
    ::MainMenuBar();
    m_app.registerAsApplication();
    App().Event_Open();
    // Only now: the window's open handling shows and uses the settings that
    // the application object's open handling has just read.
    ::MainWindow();
    m_quitSignals = std::make_unique<QuitSignals>(&Program::quit);
}

Program::~Program()
{
    releaseMainWindow();
}

int Program::exec()
{
    const int code = QApplication::exec();
    closeDown();
    return code;
}

// QApplication closes every window before it quits, and a window that
// refuses would cancel the quit.
void Program::quit()
{
    if (ui::MainWindow* window = existingMainWindow())
        window->allowClose();
    QCoreApplication::quit();
}

void Program::closeDown()
{
    if (ui::MainWindow* window = existingMainWindow())
        window->Event_Close();
    m_app.Event_Close();
}

} // namespace ui
