#include "app/CMainFrame.h"

#include "link/DeviceLink.h"
#include "link/PortEnumerator.h"
#include "link/PortWatcher.h"
#include "link/UserPrompts.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

CMainFrame::CMainFrame(MainFrameServices services, QWidget* parent)
    : QMainWindow(parent), m_services(services)
{
    setWindowTitle(QStringLiteral("Untitled - Harvane"));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const int height = area.height() * 4 / 5;
        const int width = area.width() * 4 / 5;
        setGeometry(area.x() + (width * 5 / 4 - width) / 2,
                    area.y() + (height * 5 / 4 - height) / 2, width, height);
    }

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Exit"), this, &QWidget::close);

    auto* portBar = addToolBar(QStringLiteral("Port"));
    portBar->setObjectName(QStringLiteral("PortToolBar"));
    portBar->addAction(QStringLiteral("Update COM Port"), this, &CMainFrame::updateComPort);
    m_portList = new QComboBox(portBar);
    m_portList->setObjectName(QStringLiteral("PortList"));
    m_portList->setFixedWidth(80);
    m_portList->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    portBar->addWidget(m_portList);
    connect(m_portList, &QComboBox::activated, this,
            [this](int index) { choosePort(m_portList->itemText(index)); });

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(new QWidget(splitter));
    splitter->addWidget(new QWidget(splitter));
    setCentralWidget(splitter);

    m_portPane = new QLabel(this);
    m_portPane->setObjectName(QStringLiteral("PortPane"));
    m_portPane->setMinimumWidth(
        m_portPane->fontMetrics().horizontalAdvance(QStringLiteral("Choose COM port")));
    statusBar()->addPermanentWidget(m_portPane);
    statusBar()->showMessage(QStringLiteral("For Help, press F1"));

    fillPortList();
    m_watcher = new PortWatcher(m_services.ports, m_services.pump, this);
    connect(m_watcher, &PortWatcher::deviceArrived, this, &CMainFrame::onDeviceArrived);
    connect(m_watcher, &PortWatcher::deviceRemoved, this, &CMainFrame::onDeviceRemoved);
    m_watcher->start();
}

CMainFrame::~CMainFrame()
{
    m_services.link.close();
}

void CMainFrame::choosePort(const QString& name)
{
    closePort();
    m_portName = name;
    showPortName();
    selectPortInList();
    m_portOpen = m_services.link.open(name);
    if (!m_portOpen)
        m_services.prompts.showMessage(
            QStringLiteral("Error could not create handle to serial port!"));
}

void CMainFrame::closePort()
{
    m_services.link.close();
    m_portOpen = false;
}

void CMainFrame::updateComPort()
{
    closePort();
    fillPortList();
}

void CMainFrame::onDeviceArrived()
{
    fillPortList();
    selectPortInList();
}

void CMainFrame::onDeviceRemoved()
{
    if (m_services.ports.presence(m_portName) != PortPresence::Absent) {
        fillPortList();
        selectPortInList();
        return;
    }
    // The open port's adapter is gone (the link may have noticed first and
    // closed itself): the port is closed and forgotten.
    if (m_portOpen) {
        closePort();
        m_portName.clear();
        showPortName();
    }
    fillPortList();
}

void CMainFrame::fillPortList()
{
    m_portList->clear();
    m_portList->addItems(m_services.ports.portNames());
    m_portList->setCurrentIndex(-1);
}

void CMainFrame::selectPortInList()
{
    m_portList->setCurrentIndex(m_portName.isEmpty() ? -1 : m_portList->findText(m_portName));
}

void CMainFrame::showPortName()
{
    m_portPane->setText(m_portName);
}

bool CMainFrame::isPortOpen() const
{
    return m_portOpen && m_services.link.isOpen();
}
