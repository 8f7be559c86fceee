#pragma once

#include "link/DeviceLink.h"

#include <functional>
#include <memory>

// The main window's one port. It stays the same object for the whole run, so
// a dialog can hold on to it; each open() picks the backend for the name: a
// serial port, or one of the simulated devices ("sim:logger", "sim:base")
// when a factory for them is given.
class RoutingDeviceLink final : public DeviceLink {
public:
    using SimulatedLinkFactory = std::function<std::unique_ptr<DeviceLink>(const QString& name)>;

    static constexpr auto SimulatedPrefix = "sim:";

    explicit RoutingDeviceLink(SimulatedLinkFactory simulated = {});
    ~RoutingDeviceLink() override;

    bool open(const QString& portName) override;
    [[nodiscard]] bool lastOpenDenied() const override { return m_denied; }
    void configure() override;
    void close() override;
    [[nodiscard]] bool isOpen() const override;
    [[nodiscard]] QString portName() const override;
    std::size_t read(std::span<std::uint8_t> buffer) override;
    void write(std::span<const std::uint8_t> bytes) override;

    static bool isSimulatedName(const QString& portName);

private:
    SimulatedLinkFactory m_simulated;
    std::unique_ptr<DeviceLink> m_active;
    QString m_name;
    bool m_denied = false;
};
