#include "MainMenuBar.h"

#include "EditCommands.h"
#include "Program.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QShortcut>

namespace {
// "Ctrl" is the platform's command modifier: Qt shows and takes it as Cmd on
// macOS.
struct MenuEntry {
    const char* name;
    const char* caption; // "&" marks the mnemonic
    const char* shortcut; // empty: none
};

const MenuEntry FileMenuEntry = {"FileMenu", "&File", ""};
const MenuEntry FileQuitEntry = {"FileQuit", "&Quit", "Ctrl+Q"};
const MenuEntry EditMenuEntry = {"EditMenu", "&Edit", ""};

constexpr const char* Separator = "-";
const MenuEntry EditEntries[] = {
    {"EditUndo", "&Undo", "Ctrl+Z"},
    {"EditSeparator1", Separator, ""},
    {"EditCut", "Cu&t", "Ctrl+X"},
    {"EditCopy", "&Copy", "Ctrl+C"},
    {"EditPaste", "&Paste", "Ctrl+V"},
    {"EditClear", "&Delete", ""},
    {"EditSeparator2", Separator, ""},
    {"EditSelectAll", "Select &All", "Ctrl+A"},
};

QMenu* appendMenu(QMenuBar& bar, const MenuEntry& entry)
{
    QMenu* menu = bar.addMenu(QString::fromUtf8(entry.caption));
    menu->setObjectName(QString::fromUtf8(entry.name));
    menu->menuAction()->setObjectName(QString::fromUtf8(entry.name));
    return menu;
}

QAction* appendItem(QMenu& menu, const MenuEntry& entry)
{
    QAction* action = qstrcmp(entry.caption, Separator) == 0
                          ? menu.addSeparator()
                          : menu.addAction(QString::fromUtf8(entry.caption));
    action->setObjectName(QString::fromUtf8(entry.name));
    action->setShortcut(QKeySequence(QString::fromUtf8(entry.shortcut), QKeySequence::PortableText));
    return action;
}

// Linux desktops open the first menu with F10. Qt leaves that key to the
// desktop's platform theme, and without one it does nothing.
constexpr Qt::Key FirstMenuKey = Qt::Key_F10;

QPointer<ui::MainMenuBar> sharedMenuBar;
} // namespace

namespace ui {

MainMenuBar::MainMenuBar(QWidget* parent) : QMenuBar(parent)
{
    Untitled0();
    Untitled1();
    openFirstMenuByKey();
}

MainMenuBar::~MainMenuBar() = default;

QAction* MainMenuBar::item(const QString& name) const
{
    return findChild<QAction*>(name);
}

// From the first menu the arrow keys reach the others, as from a menu that
// the mouse opened; the focus stays where the user was working.
void MainMenuBar::openFirstMenuByKey()
{
    auto* key = new QShortcut(QKeySequence(FirstMenuKey), this);
    connect(key, &QShortcut::activated, this, [this] { setActiveAction(m_fileMenu->menuAction()); });
}

void MainMenuBar::Untitled0()
{
    m_fileMenu = appendMenu(*this, FileMenuEntry);
    QAction* quit = appendItem(*m_fileMenu, FileQuitEntry);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, [] { Program::quit(); });
}

void MainMenuBar::Untitled1()
{
    m_editMenu = appendMenu(*this, EditMenuEntry);
    for (const MenuEntry& entry : EditEntries)
        appendItem(*m_editMenu, entry);
    m_editCommands = new EditCommands({item("EditUndo"), item("EditCut"), item("EditCopy"),
                                       item("EditPaste"), item("EditClear"), item("EditSelectAll")},
                                      this);
    connect(m_editMenu, &QMenu::aboutToShow, m_editCommands, &EditCommands::update);
}

} // namespace ui

ui::MainMenuBar& MainMenuBar()
{
    if (!sharedMenuBar)
        sharedMenuBar = new ui::MainMenuBar;
    return *sharedMenuBar;
}
