#pragma once

#include "link/DeviceLink.h"
#include "link/Pump.h"

#include <cstdint>
#include <vector>

// A link that passes everything through and notes each write with the time
// it was made, for tests of what is sent and how it is paced.
class RecordingLink final : public DeviceLink {
public:
    struct Write {
        std::int64_t atMs;
        std::vector<std::uint8_t> bytes;
        bool operator==(const Write&) const = default;
    };

    RecordingLink(DeviceLink& inner, const Pump& pump) : m_inner(inner), m_pump(pump) {}

    bool open(const QString& name) override { return m_inner.open(name); }
    void configure() override { m_inner.configure(); }
    void close() override { m_inner.close(); }
    [[nodiscard]] bool isOpen() const override { return m_inner.isOpen(); }
    [[nodiscard]] QString portName() const override { return m_inner.portName(); }
    std::size_t read(std::span<std::uint8_t> buffer) override { return m_inner.read(buffer); }
    void write(std::span<const std::uint8_t> bytes) override
    {
        m_writes.push_back({m_pump.nowMs(), {bytes.begin(), bytes.end()}});
        m_inner.write(bytes);
    }

    [[nodiscard]] const std::vector<Write>& writes() const { return m_writes; }
    void clear() { m_writes.clear(); }
    // The command codes written, in order.
    [[nodiscard]] std::vector<std::uint8_t> codes() const
    {
        std::vector<std::uint8_t> result;
        for (const Write& w : m_writes)
            result.push_back(w.bytes.empty() ? 0 : w.bytes.front());
        return result;
    }

private:
    DeviceLink& m_inner;
    const Pump& m_pump;
    std::vector<Write> m_writes;
};
