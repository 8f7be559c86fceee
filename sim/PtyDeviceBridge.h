#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

class SimulatedDevice;

// Puts a simulated device behind a pseudo-terminal, in real time, so that the
// real serial code (QSerialPort) can open it by its path and talk to it. Used
// by the end-to-end tests (on a thread of their own) and by harvane-devsim.
// The device must not be touched from elsewhere while the bridge runs.
class PtyDeviceBridge {
public:
    explicit PtyDeviceBridge(SimulatedDevice& device);
    ~PtyDeviceBridge();

    PtyDeviceBridge(const PtyDeviceBridge&) = delete;
    PtyDeviceBridge& operator=(const PtyDeviceBridge&) = delete;

    // Creates the pseudo-terminal; false (with the reason) if it cannot.
    bool open(QString* error = nullptr);
    // The path a serial port opens, e.g. /dev/pts/7.
    [[nodiscard]] QString devicePath() const { return m_path; }

    // Runs the device on a thread of its own until stop() or destruction.
    void start();
    void stop();
    // Runs the device on the calling thread until `stopRequested` is set or
    // the device is unplugged.
    void run(const std::atomic<bool>& stopRequested);

    // The device's time: microseconds since the bridge was made.
    [[nodiscard]] std::int64_t nowUs() const;

private:
    void closeAll();
    bool writeAll(const std::uint8_t* data, std::size_t size);

    SimulatedDevice& m_device;
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};
