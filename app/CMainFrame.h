#pragma once

#include <QMainWindow>

class DeviceLink;
class PortEnumerator;
class PortWatcher;
class Pump;
class QComboBox;
class QLabel;
class UserPrompts;

// What the main window works with; all of it outlives the window.
struct MainFrameServices {
    Pump& pump;
    UserPrompts& prompts;
    const PortEnumerator& ports;
    DeviceLink& link;
};

// The program's one top-level window. It owns the connection state: the open
// port, the chosen port name, and the port list that follows devices as they
// are plugged in and out.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(MainFrameServices services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    [[nodiscard]] DeviceLink& link() const { return m_services.link; }
    [[nodiscard]] QString portName() const { return m_portName; }
    [[nodiscard]] QComboBox* portList() const { return m_portList; }
    [[nodiscard]] bool isPortOpen() const;

    // Opens the named port as when it is picked in the port list.
    void choosePort(const QString& name);
    // Closes the open port and refills the list.
    void updateComPort();
    void onDeviceArrived();
    void onDeviceRemoved();

private:
    void closePort();
    void fillPortList();
    void selectPortInList();
    void showPortName();

    MainFrameServices m_services;
    QComboBox* m_portList = nullptr;
    QLabel* m_portPane = nullptr;
    PortWatcher* m_watcher = nullptr;
    QString m_portName;
    bool m_portOpen = false;
};
