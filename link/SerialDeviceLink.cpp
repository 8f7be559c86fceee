#include "link/SerialDeviceLink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QSerialPortInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

SerialDeviceLink::SerialDeviceLink()
{
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

SerialDeviceLink::~SerialDeviceLink()
{
    m_port.close();
}

bool SerialDeviceLink::open(const QString& portName)
{
    close();
    m_name = portName;
    m_lost = false;
    // QSerialPort takes both a listed name (ttyUSB0, COM3) and a full device
    // path (/dev/pts/7). Its open is exclusive: a port held by another program
    // fails here. The lock goes by the name it is opened under, so a path
    // through a link (/dev/serial/by-id/...) is opened as the device it leads
    // to: the same port never opens twice under two names.
    QString device = portName;
    const QFileInfo info(portName);
    if (info.isAbsolute() && info.isSymLink()) {
        const QString real = info.canonicalFilePath();
        if (!real.isEmpty())
            device = real;
    }
    m_port.setPortName(device);
    m_denied = false;
    if (!m_port.open(QIODevice::ReadWrite)) {
        // Qt reports a port in use and a port this user may not open alike;
        // the device file's permissions tell them apart.
        m_denied = m_port.error() == QSerialPort::PermissionError && !mayUseDevice(device);
        m_port.clearError();
        return false;
    }
    configure();
    return true;
}

bool SerialDeviceLink::mayUseDevice(const QString& device)
{
#ifdef Q_OS_UNIX
    QString path = QSerialPortInfo(device).systemLocation();
    if (path.isEmpty())
        path = device;
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0 || errno != EACCES;
#else
    Q_UNUSED(device);
    return true;
#endif
}

void SerialDeviceLink::configure()
{
    if (!m_port.isOpen())
        return;
    m_port.setBaudRate(QSerialPort::Baud57600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // Pseudo-terminals refuse the modem-line calls; real adapters accept them.
    // Either way the port is used as it is.
    m_port.setDataTerminalReady(false);
    m_port.setRequestToSend(false);
    m_port.clearError();
}

void SerialDeviceLink::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

bool SerialDeviceLink::isOpen() const
{
    return m_port.isOpen() && !m_lost;
}

QString SerialDeviceLink::portName() const
{
    return m_name;
}

std::size_t SerialDeviceLink::read(std::span<std::uint8_t> buffer)
{
    if (!isOpen() || buffer.empty())
        return 0;
    auto* data = reinterpret_cast<char*>(buffer.data());
    const auto wanted = static_cast<qint64>(buffer.size());
    qint64 got = qMax<qint64>(0, m_port.read(data, wanted));
    // What is buffered comes at once; the rest may follow for up to 3 ms.
    QElapsedTimer elapsed;
    elapsed.start();
    while (got < wanted && isOpen()) {
        const qint64 left = ReadTimeoutMs - elapsed.elapsed();
        if (left <= 0 || !m_port.waitForReadyRead(static_cast<int>(left)))
            break;
        got += qMax<qint64>(0, m_port.read(data + got, wanted - got));
    }
    if (m_port.error() == QSerialPort::TimeoutError)
        m_port.clearError();
    return static_cast<std::size_t>(got);
}

void SerialDeviceLink::write(std::span<const std::uint8_t> bytes)
{
    if (!isOpen() || bytes.empty())
        return;
    m_port.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    // The write is synchronous: the bytes are on their way before the caller
    // starts its wait, and a stuck port gives up after 100 ms + 100 ms a byte.
    m_port.flush();
    if (m_port.bytesToWrite() > 0)
        m_port.waitForBytesWritten(100 + 100 * static_cast<int>(bytes.size()));
    if (m_port.error() == QSerialPort::TimeoutError)
        m_port.clearError();
}

void SerialDeviceLink::onError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    if (m_lost)
        return;
    m_lost = true;
    // Closing from inside the port's own notification is not safe; close as
    // soon as control is back in the event loop. Reads already yield nothing.
    QMetaObject::invokeMethod(
        &m_port,
        [this] {
            if (m_lost)
                m_port.close();
        },
        Qt::QueuedConnection);
}
