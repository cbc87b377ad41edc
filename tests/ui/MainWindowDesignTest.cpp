#include "LightListBox.h"
#include "MainWindow.h"
#include "StatusLabel.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

struct ControlRow {
    const char* name;
    QRect place;
    const char* caption; // null: the control shows no caption
};

const ControlRow ControlRows[] = {
    {"tfIPAddress", {109, 84, 249, 22}, ""},
    {"tfUserName", {109, 118, 249, 22}, ""},
    {"tfPassword", {109, 152, 249, 22}, ""},
    {"Label1", {20, 85, 74, 20}, "IP Address"},
    {"Label2", {20, 118, 74, 20}, "Username"},
    {"Label3", {20, 152, 74, 20}, "Password"},
    {"lbLights", {23, 218, 335, 338}, nullptr},
    {"Label4", {23, 186, 335, 20}, "List in Halvory needs to be called \"Tolvane\""},
    {"cbRunningLocal", {17, 20, 113, 20}, "Running Local"},
    {"cbDebug", {142, 20, 112, 20}, "Debug to Log"},
    {"lblStatus", {23, 568, 335, 20}, ""},
    {"cbLessStrict", {17, 52, 126, 20}, "Less Strict UPnP"},
    {"lblVersion", {298, 20, 60, 20}, ""},
};

QString captionOf(const QWidget* control)
{
    if (auto* field = qobject_cast<const QLineEdit*>(control))
        return field->text();
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* box = qobject_cast<const QCheckBox*>(control))
        return box->text();
    return QString();
}

// Built, not opened. The registered application object takes the changes
// that the tests make to the fields.
class MainWindowDesign : public WindowFixture {
protected:
    ui::MainWindow m_window;
};

TEST_F(MainWindowDesign, ContentAreaIsFixedBelowTheMenuBar)
{
    m_window.show();
    QApplication::processEvents();
    const QWidget* content = m_window.centralWidget();
    EXPECT_EQ(content->size(), QSize(378, 608));
    EXPECT_EQ(content->y(), m_window.menuBar()->height());
    EXPECT_EQ(m_window.size(), QSize(378, 608 + m_window.menuBar()->height()));
    EXPECT_EQ(m_window.minimumSize(), m_window.maximumSize());
    EXPECT_EQ(m_window.windowTitle(), "Tolvane");
}

TEST_F(MainWindowDesign, CanBeMinimisedButNotClosedZoomedOrMadeFullScreen)
{
    const Qt::WindowFlags flags = m_window.windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowFullscreenButtonHint);
}

TEST_F(MainWindowDesign, CloseRequestIsIgnoredUntilQuitting)
{
    m_window.show();
    EXPECT_FALSE(m_window.close());
    EXPECT_TRUE(m_window.isVisible());
    m_window.allowClose();
    EXPECT_TRUE(m_window.close());
}

TEST_F(MainWindowDesign, ControlsSitAtTheirPlacesWithTheirCaptions)
{
    for (const ControlRow& row : ControlRows) {
        SCOPED_TRACE(row.name);
        const auto* control = m_window.centralWidget()->findChild<QWidget*>(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget(), m_window.centralWidget());
        EXPECT_EQ(control->geometry(), row.place);
        EXPECT_TRUE(control->isEnabled());
        if (row.caption) {
            EXPECT_EQ(captionOf(control), row.caption);
        }
    }
}

TEST_F(MainWindowDesign, AccessorsReachTheNamedControls)
{
    const QList<std::pair<const char*, QWidget*>> accessors = {
        {"tfIPAddress", m_window.tfIPAddress()}, {"tfUserName", m_window.tfUserName()},
        {"tfPassword", m_window.tfPassword()},   {"Label1", m_window.Label1()},
        {"Label2", m_window.Label2()},           {"Label3", m_window.Label3()},
        {"lbLights", m_window.lbLights()},       {"Label4", m_window.Label4()},
        {"cbRunningLocal", m_window.cbRunningLocal()}, {"cbDebug", m_window.cbDebug()},
        {"lblStatus", m_window.lblStatus()},     {"cbLessStrict", m_window.cbLessStrict()},
        {"lblVersion", m_window.lblVersion()},
    };
    for (const auto& [name, control] : accessors)
        EXPECT_EQ(control->objectName(), name);
}

TEST_F(MainWindowDesign, StartsUncheckedEmptyAndWithoutRows)
{
    EXPECT_FALSE(m_window.cbRunningLocal()->isChecked());
    EXPECT_FALSE(m_window.cbDebug()->isChecked());
    EXPECT_FALSE(m_window.cbLessStrict()->isChecked());
    EXPECT_EQ(m_window.lbLights()->ListCount(), 0);
    EXPECT_EQ(m_window.lbLights()->headerItem()->text(3), "Value");
    EXPECT_EQ(m_window.lblVersion()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(m_window.Label1()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST_F(MainWindowDesign, PasswordIsShownMaskedAndReadClear)
{
    m_window.tfPassword()->setText("secret");
    EXPECT_EQ(m_window.tfPassword()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(m_window.tfPassword()->text(), "secret");
    EXPECT_NE(m_window.tfPassword()->displayText(), "secret");
}

TEST_F(MainWindowDesign, StatusCanBeSelectedButNotEdited)
{
    const Qt::TextInteractionFlags flags = m_window.lblStatus()->textInteractionFlags();
    EXPECT_TRUE(flags & Qt::TextSelectableByMouse);
    EXPECT_FALSE(flags & Qt::TextEditable);
    m_window.lblStatus()->setStatusText("first");
    m_window.lblStatus()->setStatusText("<b>second</b>");
    EXPECT_EQ(m_window.lblStatus()->text(), "<b>second</b>");
    EXPECT_EQ(m_window.lblStatus()->textFormat(), Qt::PlainText);
    EXPECT_FALSE(m_window.Label4()->textInteractionFlags() & Qt::TextSelectableByMouse);
}

TEST_F(MainWindowDesign, TabMovesThroughTheControlsInTabIndexOrder)
{
    const QStringList tabIndexOrder = {"tfIPAddress", "tfUserName", "tfPassword", "Label1",
                                       "Label2", "Label3", "lbLights", "Label4", "cbRunningLocal",
                                       "cbDebug", "lblStatus", "cbLessStrict", "lblVersion"};
    QStringList chain;
    QWidget* widget = m_window.tfIPAddress();
    do {
        if (widget->parentWidget() == m_window.centralWidget())
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != m_window.tfIPAddress() && chain.size() <= tabIndexOrder.size());
    EXPECT_EQ(chain, tabIndexOrder);

    QStringList tabStops;
    for (const QString& name : chain)
        if (m_window.centralWidget()->findChild<QWidget*>(name)->focusPolicy() & Qt::TabFocus)
            tabStops.append(name);
    EXPECT_EQ(tabStops, (QStringList{"tfIPAddress", "tfUserName", "tfPassword", "lbLights",
                                     "cbRunningLocal", "cbDebug", "lblStatus", "cbLessStrict"}));
}

} // namespace
