#include "MainMenuBar.h"
#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

struct MenuRow {
    const char* name;
    const char* caption;
    const char* shortcut; // in the platform's native text; empty: none
};

QStringList namesOf(const QList<QAction*>& actions)
{
    QStringList names;
    for (const QAction* action : actions)
        names.append(action->objectName());
    return names;
}

TEST(MainMenuBar, AccessorReturnsOneObject)
{
    EXPECT_EQ(&MainMenuBar(), &MainMenuBar());
}

TEST(MainMenuBar, HoldsFileThenEdit)
{
    ui::MainMenuBar& bar = MainMenuBar();
    EXPECT_EQ(namesOf(bar.actions()), (QStringList{"FileMenu", "EditMenu"}));
    const QMenu* fileMenu = bar.findChild<QMenu*>("FileMenu");
    const QMenu* editMenu = bar.findChild<QMenu*>("EditMenu");
    ASSERT_TRUE(fileMenu && editMenu);
    EXPECT_EQ(fileMenu->title(), "&File");
    EXPECT_EQ(editMenu->title(), "&Edit");
    EXPECT_EQ(namesOf(fileMenu->actions()), QStringList{"FileQuit"});
    EXPECT_EQ(namesOf(editMenu->actions()),
              (QStringList{"EditUndo", "EditSeparator1", "EditCut", "EditCopy", "EditPaste",
                           "EditClear", "EditSeparator2", "EditSelectAll"}));
}

TEST(MainMenuBar, ItemsHaveTheirCaptionsAndShortcuts)
{
    const MenuRow rows[] = {
        {"FileQuit", "&Quit", "Ctrl+Q"},   {"EditUndo", "&Undo", "Ctrl+Z"},
        {"EditCut", "Cu&t", "Ctrl+X"},     {"EditCopy", "&Copy", "Ctrl+C"},
        {"EditPaste", "&Paste", "Ctrl+V"}, {"EditClear", "&Delete", ""},
        {"EditSelectAll", "Select &All", "Ctrl+A"},
    };
    ui::MainMenuBar& bar = MainMenuBar();
    for (const MenuRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QAction* action = bar.item(row.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), row.caption);
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), row.shortcut);
        EXPECT_TRUE(action->isVisible());
        EXPECT_FALSE(action->isSeparator());
    }
    EXPECT_EQ(bar.item("FileQuit")->menuRole(), QAction::QuitRole);
    EXPECT_TRUE(bar.item("EditSeparator1")->isSeparator());
    EXPECT_TRUE(bar.item("EditSeparator2")->isSeparator());
}

TEST(MainMenuBar, TheWindowShowsTheSameMenusOnce)
{
    ui::MainWindow window;
    EXPECT_EQ(window.menuBar(), &MainMenuBar());
    EXPECT_EQ(MainMenuBar().actions().size(), 2);
    for (const char* name : {"FileMenu", "FileQuit", "EditMenu", "EditUndo", "EditSeparator1",
                             "EditCut", "EditCopy", "EditPaste", "EditClear", "EditSeparator2",
                             "EditSelectAll"})
        EXPECT_EQ(window.menuBar()->findChildren<QAction*>(name).size(), 1) << name;
    EXPECT_EQ(window.menuBar()->findChild<QAction*>("FileMenu"), MainMenuBar().findChild<QMenu*>("FileMenu")->menuAction());
}

// The Edit items follow the focused field as the menu opens, as a text
// field's own editing does.
class EditItems : public ::testing::Test {
protected:
    EditItems()
    {
        auto* layout = new QVBoxLayout(&m_window);
        layout->addWidget(&m_field);
        layout->addWidget(&m_masked);
        layout->addWidget(&m_box);
        m_masked.setEchoMode(QLineEdit::Password);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
    }

    void focus(QWidget& widget)
    {
        widget.setFocus();
        QApplication::processEvents();
    }

    // What the user sees in the menu; it is closed again.
    QStringList enabledItems()
    {
        QMenu& menu = *m_bar.findChild<QMenu*>("EditMenu");
        menu.popup(QPoint());
        QStringList names;
        for (const char* name :
             {"EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear", "EditSelectAll"})
            if (m_bar.item(name)->isEnabled())
                names.append(name);
        menu.close();
        QApplication::processEvents();
        return names;
    }

    // Chooses the item from the menu, which first shows it as it stands.
    void trigger(const char* name)
    {
        enabledItems();
        m_bar.item(name)->trigger();
    }

    ui::MainMenuBar m_bar;
    QWidget m_window;
    QLineEdit m_field{QStringLiteral("hello")};
    QLineEdit m_masked{QStringLiteral("secret")};
    QCheckBox m_box;
};

TEST_F(EditItems, FollowTheFocusedFieldThroughCutAndPaste)
{
    QApplication::clipboard()->clear();
    focus(m_field);
    m_field.deselect();
    EXPECT_EQ(enabledItems(), QStringList{"EditSelectAll"});

    trigger("EditSelectAll");
    EXPECT_EQ(m_field.selectedText(), "hello");
    EXPECT_EQ(enabledItems(), (QStringList{"EditCut", "EditCopy", "EditClear", "EditSelectAll"}));

    trigger("EditCut");
    EXPECT_EQ(m_field.text(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "hello");
    EXPECT_EQ(enabledItems(), (QStringList{"EditUndo", "EditPaste"}));

    trigger("EditPaste");
    EXPECT_EQ(m_field.text(), "hello");
    trigger("EditUndo");
    EXPECT_EQ(m_field.text(), "");
}

TEST_F(EditItems, DeleteRemovesTheSelection)
{
    focus(m_field);
    m_field.setSelection(1, 3);
    trigger("EditClear");
    EXPECT_EQ(m_field.text(), "ho");
}

TEST_F(EditItems, MaskedFieldCannotBeCopiedFrom)
{
    QApplication::clipboard()->setText("pasted");
    focus(m_masked);
    m_masked.selectAll();
    EXPECT_EQ(enabledItems(), (QStringList{"EditPaste", "EditClear", "EditSelectAll"}));
}

TEST_F(EditItems, NoFieldNoItems)
{
    QApplication::clipboard()->setText("pasted");
    focus(m_box);
    EXPECT_EQ(enabledItems(), QStringList{});
    EXPECT_TRUE(m_bar.item("FileQuit")->isEnabled());
}

} // namespace
