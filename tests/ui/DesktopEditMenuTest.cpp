#include "CountingClipboard.h"
#include "MainWindow.h"
#include "StatusLabel.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <chrono>
#include <functional>

namespace {

// Long enough for a loaded machine; what never comes fails the test.
constexpr std::chrono::milliseconds EventWait{5000};

::testing::AssertionResult waitFor(const char* what, const std::function<bool()>& condition)
{
    if (QTest::qWaitFor(condition, static_cast<int>(EventWait.count())))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no " << what << " within " << EventWait.count() << " ms";
}

const char* const EditItems[] = {"EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear",
                                 "EditSelectAll"};

// How the user opens the Edit menu: its mnemonic (Alt+E), Alt alone and the
// arrows, F10 and the arrows, or the mouse. From the keyboard an item is
// chosen by its mnemonic, otherwise by a click.
enum class Way { Mnemonic, Alt, F10, Mouse };

const char* nameOf(Way way)
{
    switch (way) {
    case Way::Mnemonic:
        return "ByMnemonic";
    case Way::Alt:
        return "ByAltAndArrows";
    case Way::F10:
        return "ByF10AndArrows";
    case Way::Mouse:
        return "ByMouse";
    }
    return "";
}

void PrintTo(Way way, std::ostream* out)
{
    *out << nameOf(way);
}

// The window, built and shown on a real display and active; the user works
// in it only with keys and mouse clicks.
class Desktop : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        m_window = std::make_unique<ui::MainWindow>();
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get(), static_cast<int>(EventWait.count())))
            << "the window manager never made the window active";
    }

    void TearDown() override
    {
        m_window->allowClose();
        m_window.reset();
        WindowFixture::TearDown();
    }

    QMenu* editMenu() const { return m_window->menuBar()->findChild<QMenu*>("EditMenu"); }
    QAction* item(const char* name) const { return m_window->menuBar()->findChild<QAction*>(name); }

    QStringList enabledItems() const
    {
        QStringList names;
        for (const char* name : EditItems)
            if (item(name)->isEnabled())
                names.append(name);
        return names;
    }

    void clickInto(QWidget& widget)
    {
        QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(widget.width() - 4, widget.height() / 2));
        ASSERT_TRUE(waitFor("focus in the clicked control", [&] { return QApplication::focusWidget() == &widget; }));
    }

    // A key goes where the X server sends it: to an open menu, which holds
    // the keyboard, or else to the focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* menu = QApplication::activePopupWidget();
        QTest::keyClick(menu ? menu : QApplication::focusWidget(), key, modifiers);
    }

    // Selects `length` characters from `start` with the arrow keys.
    static void selectWithKeys(int start, int length)
    {
        press(Qt::Key_Home);
        for (int step = 0; step < start; ++step)
            press(Qt::Key_Right);
        for (int step = 0; step < length; ++step)
            press(Qt::Key_Right, Qt::ShiftModifier);
    }

    void openEditMenu(Way way)
    {
        QMenuBar* bar = m_window->menuBar();
        switch (way) {
        case Way::Mnemonic:
            press(Qt::Key_E, Qt::AltModifier);
            break;
        case Way::Alt:
            press(Qt::Key_Alt);
            press(Qt::Key_Right);
            press(Qt::Key_Down);
            break;
        case Way::F10:
            press(Qt::Key_F10);
            ASSERT_TRUE(waitFor("open menu after F10", [&] { return QApplication::activePopupWidget() != nullptr; }));
            press(Qt::Key_Right);
            break;
        case Way::Mouse:
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(item("EditMenu")).center());
            break;
        }
        ASSERT_TRUE(waitFor("open Edit menu", [&] { return editMenu()->isVisible(); }));
    }

    void choose(Way way, const char* name, Qt::Key mnemonic)
    {
        QMenu* menu = editMenu();
        if (way == Way::Mouse)
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item(name)).center());
        else
            QTest::keyClick(menu, mnemonic);
        ASSERT_TRUE(waitFor("closing of the Edit menu", [&] { return !menu->isVisible(); }));
    }

    std::unique_ptr<ui::MainWindow> m_window;
};

const auto AllWays = ::testing::Values(Way::Mnemonic, Way::Alt, Way::F10, Way::Mouse);

struct CommandRow {
    const char* name;
    const char* item;
    Qt::Key mnemonic;
    // In the user name field, which holds "hello": the characters selected
    // with the keyboard, and whether "x" is then typed over them.
    int selectionStart;
    int selectionLength;
    bool typeOver;
    const char* textAfter;
    const char* clipboardAfter; // the clipboard holds "clip" before
    const char* selectionAfter;
};

const CommandRow CommandRows[] = {
    {"Undo", "EditUndo", Qt::Key_U, 1, 3, true, "hello", "clip", nullptr},
    {"Cut", "EditCut", Qt::Key_T, 1, 3, false, "ho", "ell", ""},
    {"Copy", "EditCopy", Qt::Key_C, 1, 3, false, "hello", "ell", "ell"},
    {"Paste", "EditPaste", Qt::Key_P, 1, 3, false, "hclipo", "clip", ""},
    {"Delete", "EditClear", Qt::Key_D, 1, 3, false, "ho", "clip", ""},
    {"SelectAll", "EditSelectAll", Qt::Key_A, 5, 0, false, "hello", "clip", "hello"},
};

void PrintTo(const CommandRow& row, std::ostream* out)
{
    *out << row.name;
}

class EditMenuCommands : public Desktop,
                         public ::testing::WithParamInterface<std::tuple<CommandRow, Way>> {};

TEST_P(EditMenuCommands, ChangeTheFieldTheUserWasIn)
{
    const auto& [row, way] = GetParam();
    QLineEdit& field = *m_window->tfUserName();
    field.setText("hello");
    QApplication::clipboard()->setText("clip");
    clickInto(field);
    selectWithKeys(row.selectionStart, row.selectionLength);
    if (row.typeOver)
        press(Qt::Key_X);

    openEditMenu(way);
    EXPECT_TRUE(item(row.item)->isEnabled());
    choose(way, row.item, row.mnemonic);

    EXPECT_EQ(field.text(), row.textAfter);
    EXPECT_EQ(QApplication::clipboard()->text(), row.clipboardAfter);
    if (row.selectionAfter) {
        EXPECT_EQ(field.selectedText(), row.selectionAfter);
    }
    EXPECT_EQ(m_app.UserName, row.textAfter);
    EXPECT_EQ(QApplication::focusWidget(), &field);
}

INSTANTIATE_TEST_SUITE_P(Rows, EditMenuCommands,
                         ::testing::Combine(::testing::ValuesIn(CommandRows),
                                            AllWays),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name)
                                    + nameOf(std::get<1>(info.param));
                         });

class EditMenuItems : public Desktop, public ::testing::WithParamInterface<Way> {};

TEST_P(EditMenuItems, FollowTheFieldWhenTheMenuOpens)
{
    QLineEdit& field = *m_window->tfIPAddress();
    field.setText("10.0.0.7");
    QApplication::clipboard()->setText("clip");
    clickInto(field);
    selectWithKeys(0, 2);
    openEditMenu(GetParam());
    EXPECT_EQ(enabledItems(), (QStringList{"EditCut", "EditCopy", "EditPaste", "EditClear", "EditSelectAll"}));
    press(Qt::Key_Escape);
}

TEST_P(EditMenuItems, FollowTheMaskedPasswordWhenTheMenuOpens)
{
    QLineEdit& field = *m_window->tfPassword();
    field.setText("secret");
    QApplication::clipboard()->clear();
    clickInto(field);
    selectWithKeys(0, 3);
    openEditMenu(GetParam());
    EXPECT_EQ(enabledItems(), (QStringList{"EditClear", "EditSelectAll"}));
    press(Qt::Key_Escape);
}

INSTANTIATE_TEST_SUITE_P(Ways, EditMenuItems, AllWays,
                         [](const auto& info) { return std::string(nameOf(info.param)); });

// A control the user selected in, then left for the menu bar with Alt, and
// the control clicked next.
struct LeftSelectionRow {
    const char* name;
    const char* from;
    const char* to;
};

void PrintTo(const LeftSelectionRow& row, std::ostream* out)
{
    *out << row.name;
}

QString selectedText(const QWidget& widget)
{
    if (const auto* field = qobject_cast<const QLineEdit*>(&widget))
        return field->selectedText();
    return qobject_cast<const QLabel*>(&widget)->selectedText();
}

class LeftSelection : public Desktop, public ::testing::WithParamInterface<LeftSelectionRow> {};

// Alt only visits the menus, so the selection stays while the menu bar has
// the focus; a click elsewhere then really takes the focus away.
TEST_P(LeftSelection, GoesWhenTheFocusMovesOnFromTheMenuBar)
{
    m_window->tfIPAddress()->setText("10.0.0.7");
    m_window->tfUserName()->setText("ann");
    m_window->lblStatus()->setStatusText("Sent ON for light Kitchen");
    QWidget& from = *m_window->findChild<QWidget*>(GetParam().from);
    QWidget& to = *m_window->findChild<QWidget*>(GetParam().to);
    clickInto(from);
    press(Qt::Key_A, Qt::ControlModifier);
    const QString selected = selectedText(from);
    ASSERT_FALSE(selected.isEmpty());
    press(Qt::Key_Alt);
    ASSERT_TRUE(waitFor("focus in the menu bar", [&] { return QApplication::focusWidget() == m_window->menuBar(); }));
    EXPECT_EQ(selectedText(from), selected);

    clickInto(to);
    EXPECT_EQ(selectedText(from), "");
    if (auto* field = qobject_cast<QLineEdit*>(&to)) {
        press(Qt::Key_X);
        EXPECT_TRUE(field->text().endsWith('x'));
        press(Qt::Key_A, Qt::ControlModifier);
        openEditMenu(Way::Mnemonic);
        EXPECT_TRUE(item("EditCopy")->isEnabled());
        press(Qt::Key_Escape);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, LeftSelection,
                         ::testing::Values(LeftSelectionRow{"FieldToField", "tfIPAddress", "tfUserName"},
                                           LeftSelectionRow{"StatusLineToField", "lblStatus", "tfIPAddress"},
                                           LeftSelectionRow{"FieldToCheckBox", "tfUserName", "cbLessStrict"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The clipboard's owner is another program; each read waits for its answer,
// and the whole event loop with it.
TEST_F(Desktop, TypingReadsNothingOfTheClipboardAndTheMenuReadsItAsItOpens)
{
    CountingClipboard clipboard("clip");
    ASSERT_TRUE(clipboard.owns());
    QLineEdit& field = *m_window->tfUserName();
    clickInto(field);
    for (const Qt::Key key : {Qt::Key_H, Qt::Key_E, Qt::Key_L, Qt::Key_L, Qt::Key_O})
        press(key);
    selectWithKeys(1, 3);
    press(Qt::Key_End);
    press(Qt::Key_Backspace);
    clickInto(*m_window->tfIPAddress());
    clickInto(field);
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "hell");
    EXPECT_EQ(clipboard.formatRequests(), 0);
    EXPECT_EQ(clipboard.textRequests(), 0);

    // Whether Paste can run needs only the formats; the text, which may be
    // large, is fetched when Paste runs.
    openEditMenu(Way::Mnemonic);
    EXPECT_GT(clipboard.formatRequests(), 0);
    EXPECT_EQ(clipboard.textRequests(), 0);
    EXPECT_TRUE(item("EditPaste")->isEnabled());
    choose(Way::Mnemonic, "EditPaste", Qt::Key_P);
    EXPECT_EQ(field.text(), "clip");
    EXPECT_GT(clipboard.textRequests(), 0);
}

TEST_F(Desktop, TabReachesEveryTabStopInOrderTheStatusLineIncluded)
{
    clickInto(*m_window->tfIPAddress());
    QStringList visited;
    for (int step = 0; step < 9; ++step) {
        visited.append(QApplication::focusWidget()->objectName());
        press(Qt::Key_Tab);
    }
    EXPECT_EQ(visited, (QStringList{"tfIPAddress", "tfUserName", "tfPassword", "lbLights",
                                    "cbRunningLocal", "cbDebug", "lblStatus", "cbLessStrict",
                                    "tfIPAddress"}));
}

TEST_F(Desktop, StatusLineSelectedByKeyboardIsCopiedFromTheMenu)
{
    const QString status = QStringLiteral("Sent ON for light Kitchen");
    m_window->lblStatus()->setStatusText(status);
    QApplication::clipboard()->setText("clip");
    clickInto(*m_window->tfPassword());
    for (int step = 0; step < 8 && QApplication::focusWidget() != m_window->lblStatus(); ++step)
        press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), m_window->lblStatus());

    openEditMenu(Way::Mnemonic);
    EXPECT_EQ(enabledItems(), QStringList{"EditSelectAll"});
    choose(Way::Mnemonic, "EditSelectAll", Qt::Key_A);
    openEditMenu(Way::Mnemonic);
    EXPECT_EQ(enabledItems(), (QStringList{"EditCopy", "EditSelectAll"}));
    choose(Way::Mnemonic, "EditCopy", Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), status);
    EXPECT_EQ(m_window->lblStatus()->text(), status);
}

TEST_F(Desktop, StatusLineSelectedByMouseIsCopiedFromTheMenu)
{
    const QString status = QStringLiteral("Detected Generic UPnP discovery packet");
    StatusLabel& label = *m_window->lblStatus();
    label.setStatusText(status);
    QApplication::clipboard()->setText("clip");
    const int middle = label.height() / 2;
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(0, middle));
    QTest::mouseMove(&label, QPoint(label.width() / 2, middle));
    QTest::mouseMove(&label, QPoint(label.width() - 1, middle));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(label.width() - 1, middle));
    ASSERT_EQ(label.selectedText(), status);

    openEditMenu(Way::Mouse);
    EXPECT_EQ(enabledItems(), (QStringList{"EditCopy", "EditSelectAll"}));
    choose(Way::Mouse, "EditCopy", Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), status);
}

} // namespace
