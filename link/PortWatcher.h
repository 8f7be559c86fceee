#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class PortEnumerator;
class Pump;
class PumpTimer;

// Tells the main window when serial devices come and go. It compares the
// port list every interval: cheap, and the same on every platform (device
// notices from udev or the like are not to be had everywhere).
class PortWatcher final : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint32_t DefaultIntervalMs = 1500;

    PortWatcher(const PortEnumerator& ports, Pump& pump, QObject* parent = nullptr);
    ~PortWatcher() override;

    void start(std::uint32_t intervalMs = DefaultIntervalMs);
    void stop();

    // Compares the list now; emits what changed since the last look.
    void poll();

Q_SIGNALS:
    void deviceArrived();
    void deviceRemoved();

private:
    const PortEnumerator& m_ports;
    std::unique_ptr<PumpTimer> m_timer;
    QStringList m_last;
};
