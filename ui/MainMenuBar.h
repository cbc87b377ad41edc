#pragma once

#include <QMenuBar>

class QAction;
class QMenu;

namespace ui {

class EditCommands;

// The File and Edit menus. One shared object (see ::MainMenuBar()) serves
// the application and its window. Every menu and item carries its name as
// its objectName, so findChild() reaches it anywhere in the tree.
class MainMenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit MainMenuBar(QWidget* parent = nullptr);
    ~MainMenuBar() override;

    // The item of that name anywhere under the menu bar, or null.
    QAction* item(const QString& name) const;

private:
    void Untitled0();
    void Untitled1();
    void openFirstMenuByKey();

    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    EditCommands* m_editCommands = nullptr;
};

} // namespace ui

// The shared menu bar, built by the first call. On Linux the application
// has no menu bar of its own, so start-up only builds it; the window shows
// it and from then on owns it. When that window is gone, the next call
// builds a new one.
ui::MainMenuBar& MainMenuBar();
