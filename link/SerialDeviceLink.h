#pragma once

#include "link/DeviceLink.h"

#include <QSerialPort>

// A DeviceLink on a real serial port (a USB serial adapter, or a
// pseudo-terminal in the end-to-end tests).
class SerialDeviceLink final : public DeviceLink {
public:
    SerialDeviceLink();
    ~SerialDeviceLink() override;

    SerialDeviceLink(const SerialDeviceLink&) = delete;
    SerialDeviceLink& operator=(const SerialDeviceLink&) = delete;

    bool open(const QString& portName) override;
    [[nodiscard]] bool lastOpenDenied() const override { return m_denied; }
    void configure() override;
    void close() override;
    [[nodiscard]] bool isOpen() const override;
    [[nodiscard]] QString portName() const override;
    std::size_t read(std::span<std::uint8_t> buffer) override;
    void write(std::span<const std::uint8_t> bytes) override;

    // The longest a read waits for the rest of what it asked for.
    static constexpr int ReadTimeoutMs = 3;

private:
    void onError(QSerialPort::SerialPortError error);
    static bool mayUseDevice(const QString& device);

    QSerialPort m_port;
    QString m_name;
    // Set when the adapter went away: QSerialPort then keeps reporting read
    // errors without closing, so the link closes itself.
    bool m_lost = false;
    bool m_denied = false;
};
