#pragma once

#include <memory>

class QuitSignals;

namespace core {
class App;
}

namespace ui {

// The program from its application object to its exit. Construction runs
// start-up from the menu bar to the open window; exec() runs the event loop
// and then the quit sequence.
class Program {
public:
    explicit Program(core::App& app);
    ~Program();

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Returns the event loop's exit code once the quit sequence has run.
    int exec();

    // Asks the application to quit: the Quit item and the quit signals.
    static void quit();

private:
    // The window's close handling, then the application object's.
    void closeDown();

    core::App& m_app;
    std::unique_ptr<QuitSignals> m_quitSignals;
};

} // namespace ui
