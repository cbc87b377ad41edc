#include "MainWindow.h"

#include "App.h"
#include "Bridge.h"
#include "BridgeStart.h"
#include "DiscoveryResponder.h"
#include "LightListBox.h"
#include "MainMenuBar.h"
#include "SettingsStore.h"
#include "SingleHTTPSocket.h"
#include "StatusLabel.h"
#include "Version.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <exception>
#include <limits>

namespace {
const QString WindowTitle = QStringLiteral("Tolvane");
const QString IPAddressCaption = QStringLiteral("IP Address");
const QString UserNameCaption = QStringLiteral("Username");
const QString PasswordCaption = QStringLiteral("Password");
const QString ListNameHint = QStringLiteral("List in Halvory needs to be called \"Tolvane\"");
const QString RunningLocalCaption = QStringLiteral("Running Local");
const QString DebugCaption = QStringLiteral("Debug to Log");
const QString LessStrictCaption = QStringLiteral("Less Strict UPnP");
const QString VersionPrefix = QStringLiteral("v");
// Only a text of exactly four comma-separated fields is taken as stored.
constexpr int StoredColumnWidthsFields = 4;
// The design-time widths; the open handling always replaces them.
const QString DesignColumnWidths = QStringLiteral(".6*,3.368634*, 1*, 0.907728*");
// The list box widths when none, or none of four fields, are stored.
const QString DefaultColumnWidths = QStringLiteral(".1*,8*, 1.428571, 1.428571*");
// The settings key of the stored list box widths.
const QString ColumnWidthsKey = QStringLiteral("List Box Size");
// Shown when the light list cannot be built as the window opens.
const QString LightsUnreadableText = QStringLiteral("Unable to read the lights from Halvory");
// A text is kept whole, however long: the settings store keeps it unchanged.
constexpr int NoLengthLimit = std::numeric_limits<int>::max();

// Content area, in points; the menu bar sits above it.
constexpr int ContentWidth = 378;
constexpr int ContentHeight = 608;

// Left, top, width, height in points from the content area's top left.
const QRect IPAddressPlace(109, 84, 249, 22);
const QRect UserNamePlace(109, 118, 249, 22);
const QRect PasswordPlace(109, 152, 249, 22);
const QRect Label1Place(20, 85, 74, 20);
const QRect Label2Place(20, 118, 74, 20);
const QRect Label3Place(20, 152, 74, 20);
const QRect LightsPlace(23, 218, 335, 338);
const QRect Label4Place(23, 186, 335, 20);
const QRect RunningLocalPlace(17, 20, 113, 20);
const QRect DebugPlace(142, 20, 112, 20);
const QRect StatusPlace(23, 568, 335, 20);
const QRect LessStrictPlace(17, 52, 126, 20);
const QRect VersionPlace(298, 20, 60, 20);

template <typename Control>
Control* makeControl(QWidget* content, const char* name, const QRect& place)
{
    auto* control = new Control(content);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(place);
    return control;
}

QLineEdit* makeTextField(QWidget* content, const char* name, const QRect& place)
{
    auto* field = makeControl<QLineEdit>(content, name, place);
    field->setMaxLength(NoLengthLimit);
    return field;
}

QLabel* makeLabel(QWidget* content, const char* name, const QRect& place, const QString& caption)
{
    auto* label = makeControl<QLabel>(content, name, place);
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    return label;
}

QCheckBox* makeCheckBox(QWidget* content, const char* name, const QRect& place, const QString& caption)
{
    auto* box = makeControl<QCheckBox>(content, name, place);
    box->setText(caption);
    box->setChecked(false);
    return box;
}

QPointer<ui::MainWindow> sharedWindow;
} // namespace

namespace ui {

MainWindow::MainWindow()
{
    Layout();
    CreateControls();
}

MainWindow::~MainWindow()
{
    if (m_attachedApp) {
        m_attachedApp->setStatusLine(nullptr);
        m_attachedApp->setLightRows(nullptr);
    }
}

void MainWindow::Layout()
{
    setMenuBar(&::MainMenuBar());
    setWindowTitle(WindowTitle);
    // Titled and minimisable; no close, zoom or full-screen button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowMinimizeButtonHint);
    m_content = new QWidget(this);
    m_content->setFixedSize(ContentWidth, ContentHeight);
    setCentralWidget(m_content);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// In the order of creation; the order of the event connections follows
// the controls' events.
void MainWindow::CreateControls()
{
    createSockets();
    createHostFields();
    createListAndSwitches();
    connectControls();
    setTabOrder();
}

void MainWindow::createSockets()
{
    for (UDPSocket* socket : {&m_upnpSocket, &m_sendUDPSocket}) {
        socket->setPort(Bridge::DiscoveryPort);
        socket->setRouterHops(UDPSocket::DefaultRouterHops);
        socket->setSendToSelf(false);
    }
    // The reply socket only sends; binding 1900 as well would take the
    // searches away from the discovery socket.
    m_sendUDPSocket.setBindsPort(false);
    m_httpServer.setPort(Bridge::HTTPPort);
    m_httpServer.setMinimumSocketsAvailable(1);
    m_httpServer.setMaximumSocketsConnected(1);
}

void MainWindow::createHostFields()
{
    m_tfIPAddress = makeTextField(m_content, "tfIPAddress", IPAddressPlace);
    m_tfUserName = makeTextField(m_content, "tfUserName", UserNamePlace);
    m_tfPassword = makeTextField(m_content, "tfPassword", PasswordPlace);
    m_tfPassword->setEchoMode(QLineEdit::Password);
    m_label1 = makeLabel(m_content, "Label1", Label1Place, IPAddressCaption);
    m_label2 = makeLabel(m_content, "Label2", Label2Place, UserNameCaption);
    m_label3 = makeLabel(m_content, "Label3", Label3Place, PasswordCaption);
}

void MainWindow::createListAndSwitches()
{
    m_lbLights = makeControl<LightListBox>(m_content, "lbLights", LightsPlace);
    m_lbLights->setColumnWidths(DesignColumnWidths);
    m_label4 = makeLabel(m_content, "Label4", Label4Place, ListNameHint);
    m_cbRunningLocal = makeCheckBox(m_content, "cbRunningLocal", RunningLocalPlace, RunningLocalCaption);
    m_cbDebug = makeCheckBox(m_content, "cbDebug", DebugPlace, DebugCaption);
    m_lblStatus = makeControl<StatusLabel>(m_content, "lblStatus", StatusPlace);
    m_cbLessStrict = makeCheckBox(m_content, "cbLessStrict", LessStrictPlace, LessStrictCaption);
    m_lblVersion = makeLabel(m_content, "lblVersion", VersionPlace, QString());
    m_lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void MainWindow::connectControls()
{
    connect(&m_upnpSocket, &UDPSocket::DataAvailable, this, &MainWindow::UPnPSocket_DataAvailable);
    connect(&m_upnpSocket, &UDPSocket::Error, this, &MainWindow::UPnPSocket_Error);
    connect(&m_upnpSocket, &UDPSocket::SendComplete, this, &MainWindow::UPnPSocket_SendComplete);
    connect(&m_sendUDPSocket, &UDPSocket::DataAvailable, this, &MainWindow::SendUDPSocket_DataAvailable);
    connect(&m_sendUDPSocket, &UDPSocket::Error, this, &MainWindow::SendUDPSocket_Error);
    m_httpServer.AddSocket = [this] { return HTTPServer_AddSocket(); };
    // textChanged and toggled: typing, a click, the Edit menu's commands and
    // the open handling's assignments all count as a change, and an
    // assignment that changes nothing raises nothing.
    connect(m_tfIPAddress, &QLineEdit::textChanged, this, &MainWindow::tfIPAddress_TextChange);
    connect(m_tfUserName, &QLineEdit::textChanged, this, &MainWindow::tfUserName_TextChange);
    connect(m_tfPassword, &QLineEdit::textChanged, this, &MainWindow::tfPassword_TextChange);
    connect(m_cbRunningLocal, &QCheckBox::toggled, this, &MainWindow::cbRunningLocal_Action);
    connect(m_cbDebug, &QCheckBox::toggled, this, &MainWindow::cbDebug_Action);
    connect(m_cbLessStrict, &QCheckBox::toggled, this, &MainWindow::cbLessStrict_Action);
}

// Tab index order; the labels other than lblStatus take no focus, so Tab
// passes over them.
void MainWindow::setTabOrder()
{
    const QList<QWidget*> order = {m_tfIPAddress, m_tfUserName, m_tfPassword, m_label1, m_label2,
                                   m_label3, m_lbLights, m_label4, m_cbRunningLocal, m_cbDebug,
                                   m_lblStatus, m_cbLessStrict, m_lblVersion};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void MainWindow::open()
{
    m_attachedApp = &App();
    m_attachedApp->setStatusLine(m_lblStatus);
    m_attachedApp->setLightRows(m_lbLights);
    show();
    lblVersion_Open();
    Event_Open();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_closeAllowed)
        event->accept();
    else
        event->ignore();
}

void MainWindow::UPnPSocket_DataAvailable()
{
    DiscoveryResponder::UPnPSocket_DataAvailable(m_upnpSocket, m_sendUDPSocket);
}

TCPSocket* MainWindow::HTTPServer_AddSocket()
{
    return new SingleHTTPSocket;
}

void MainWindow::tfIPAddress_TextChange()
{
    App().IPAddress = m_tfIPAddress->text();
}

void MainWindow::tfUserName_TextChange()
{
    App().UserName = m_tfUserName->text();
}

void MainWindow::tfPassword_TextChange()
{
    App().PW = m_tfPassword->text();
}

void MainWindow::cbRunningLocal_Action()
{
    App().RunningLocal = m_cbRunningLocal->isChecked();
    App().WritePref();
    const bool remote = !m_cbRunningLocal->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(m_label1), static_cast<QWidget*>(m_label2),
                             static_cast<QWidget*>(m_label3), static_cast<QWidget*>(m_tfIPAddress),
                             static_cast<QWidget*>(m_tfUserName), static_cast<QWidget*>(m_tfPassword)})
        control->setEnabled(remote);
}

void MainWindow::cbDebug_Action()
{
    App().ShouldLog = m_cbDebug->isChecked();
    App().WritePref();
}

void MainWindow::cbLessStrict_Action()
{
    App().LessStrictUPNP = m_cbLessStrict->isChecked();
    App().WritePref();
}

void MainWindow::lblVersion_Open()
{
    m_lblVersion->setText(VersionPrefix + ShortVersion);
}

void MainWindow::Event_Open()
{
    BridgeStart::startDiscovery(m_upnpSocket);

    m_cbRunningLocal->setChecked(App().RunningLocal);
    m_cbDebug->setChecked(App().ShouldLog);
    m_cbLessStrict->setChecked(App().LessStrictUPNP);

    m_tfUserName->setText(App().UserName);
    m_tfPassword->setText(App().PW);
    m_tfIPAddress->setText(App().IPAddress);

    restoreColumnWidths();
    refreshLights();
    BridgeStart::startListener(m_httpServer);
}

void MainWindow::restoreColumnWidths()
{
    const SettingsValue stored = SettingsStore().CopyAppValue(ColumnWidthsKey);
    const bool usable = stored.isText()
                        && stored.toText().split(QLatin1Char(',')).size() == StoredColumnWidthsFields;
    m_lbLights->setColumnWidths(usable ? stored.toText() : DefaultColumnWidths);
}

// A unit list that does not parse must not end the program: the window
// opens with the rows it has and says why the lights are missing.
void MainWindow::refreshLights()
{
    drawNow();
    try {
        App().RefreshLightArray();
    } catch (const std::exception&) {
        App().ShowStatus(LightsUnreadableText);
    }
}

// The host may take up to its script limit to answer. A window that is
// mapped but not yet painted shows black for all that time, so it is put on
// the screen, with the settings it has just been given, first.
void MainWindow::drawNow()
{
    // How long the open handling waits for the window system to show the
    // window; after that it goes on without.
    constexpr std::chrono::milliseconds ExposeWait{2000};
    QWindow* handle = windowHandle();
    if (!handle || !isVisible())
        return;
    const QDeadlineTimer deadline(ExposeWait);
    // Wakes the wait below at the deadline, should the window system send
    // nothing.
    QTimer wake;
    wake.start(ExposeWait);
    while (!handle->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents
                                        | QEventLoop::ExcludeSocketNotifiers
                                        | QEventLoop::WaitForMoreEvents);
    repaint();
}

void MainWindow::Event_Close()
{
    SettingsStore().SetAppValue(ColumnWidthsKey, SettingsValue::text(m_lbLights->columnWidths()));
    App().WritePref();
    m_upnpSocket.LeaveMulticastGroup(Bridge::MulticastGroup);
    m_upnpSocket.Close();
    m_sendUDPSocket.Close();
}

} // namespace ui

ui::MainWindow& MainWindow()
{
    if (!sharedWindow) {
        sharedWindow = new ui::MainWindow;
        sharedWindow->open();
    }
    return *sharedWindow;
}

ui::MainWindow* existingMainWindow()
{
    return sharedWindow;
}

void releaseMainWindow()
{
    delete sharedWindow;
}
