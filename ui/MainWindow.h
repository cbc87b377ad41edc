#pragma once

#include "ServerSocket.h"
#include "UDPSocket.h"

#include <QMainWindow>

class LightListBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class StatusLabel;
class TCPSocket;

namespace core {
class App;
}

namespace ui {

// The settings window: host address and credentials, the three switches,
// the light rows, the status text and the version. It owns the bridge's
// socket controls, starts them when it opens and stops discovery when it
// closes. The user cannot close it; it closes when the application quits.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window with its controls at their design values; open()
    // shows it and runs the open handling.
    MainWindow();
    ~MainWindow() override;

    void open();
    // From now on a close request closes the window (set while quitting).
    void allowClose() { m_closeAllowed = true; }

    QLineEdit* tfIPAddress() const { return m_tfIPAddress; }
    QLineEdit* tfUserName() const { return m_tfUserName; }
    QLineEdit* tfPassword() const { return m_tfPassword; }
    QLabel* Label1() const { return m_label1; }
    QLabel* Label2() const { return m_label2; }
    QLabel* Label3() const { return m_label3; }
    LightListBox* lbLights() const { return m_lbLights; }
    QLabel* Label4() const { return m_label4; }
    QCheckBox* cbRunningLocal() const { return m_cbRunningLocal; }
    QCheckBox* cbDebug() const { return m_cbDebug; }
    StatusLabel* lblStatus() const { return m_lblStatus; }
    QCheckBox* cbLessStrict() const { return m_cbLessStrict; }
    QLabel* lblVersion() const { return m_lblVersion; }

    void UPnPSocket_DataAvailable();
    void UPnPSocket_Error() {}
    void UPnPSocket_SendComplete(bool) {}
    void SendUDPSocket_DataAvailable() {}
    void SendUDPSocket_Error() {}
    TCPSocket* HTTPServer_AddSocket();
    void tfIPAddress_TextChange();
    void tfUserName_TextChange();
    void tfPassword_TextChange();
    void cbRunningLocal_Action();
    void cbDebug_Action();
    void cbLessStrict_Action();
    void lblVersion_Open();

    void Event_Open();
    void Event_Close();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Layout();
    void CreateControls();
    void createSockets();
    void createHostFields();
    void createListAndSwitches();
    void connectControls();
    void setTabOrder();
    void restoreColumnWidths();
    void refreshLights();
    void drawNow();

    UDPSocket m_upnpSocket;
    UDPSocket m_sendUDPSocket;
    ServerSocket m_httpServer;
    QWidget* m_content = nullptr;
    QLineEdit* m_tfIPAddress = nullptr;
    QLineEdit* m_tfUserName = nullptr;
    QLineEdit* m_tfPassword = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label3 = nullptr;
    LightListBox* m_lbLights = nullptr;
    QLabel* m_label4 = nullptr;
    QCheckBox* m_cbRunningLocal = nullptr;
    QCheckBox* m_cbDebug = nullptr;
    StatusLabel* m_lblStatus = nullptr;
    QCheckBox* m_cbLessStrict = nullptr;
    QLabel* m_lblVersion = nullptr;
    core::App* m_attachedApp = nullptr;
    bool m_closeAllowed = false;
};

} // namespace ui

// The one window: the first call creates and opens it, every later call
// returns it.
ui::MainWindow& MainWindow();
// The window if it exists; never creates one.
ui::MainWindow* existingMainWindow();
// Deletes the window, if there is one (at the end of the program).
void releaseMainWindow();
