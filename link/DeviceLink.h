#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>

// The open port to a device. A read returns what has arrived, waiting at most
// about 3 ms for the rest; it never waits for a device to answer (callers
// wait first, then collect). A read or write on a closed link does nothing.
class DeviceLink {
public:
    virtual ~DeviceLink() = default;

    // Opens the port by name (ttyUSB0, COM3, /dev/pts/7, sim:logger) and
    // applies the line settings. Any port open before is closed first.
    virtual bool open(const QString& portName) = 0;
    // The last open failed because this user may not use the port (on Linux:
    // not in the dialout group), not because it is missing or in use.
    [[nodiscard]] virtual bool lastOpenDenied() const { return false; }
    // Applies 57600 baud 8N1, no flow control, DTR and RTS off. Errors are
    // not reported: the port is used as the platform left it.
    virtual void configure() = 0;
    virtual void close() = 0;
    [[nodiscard]] virtual bool isOpen() const = 0;
    [[nodiscard]] virtual QString portName() const = 0;

    // Reads up to buffer.size() bytes; returns the number read (0 on a closed
    // link, on a failed read, or when nothing came).
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
    // Writes all bytes in one write. The result is not reported: a device
    // that did not receive a command shows it by not answering.
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
};
