#pragma once

#include "sim/DeviceFaults.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <span>
#include <vector>

// A device at the far end of a 57600-baud line, speaking the byte protocol.
// It is driven by time stamps rather than by a clock of its own: the host
// hands it bytes with the time they were written and asks which bytes have
// arrived by a given time. That way the same device runs on simulated time in
// the tests and on the real clock behind the desktop program or a
// pseudo-terminal. Replies leave at the line rate (5760 bytes/s) after a
// configurable response delay.
class SimulatedDevice {
public:
    static constexpr std::int64_t LineBytesPerSecond = 5760;
    static constexpr std::int64_t ByteTimeNs = 1'000'000'000 / LineBytesPerSecond;
    // A command whose argument bytes stop coming for this long is dropped.
    static constexpr std::int64_t CommandTimeoutUs = 50'000;

    SimulatedDevice();
    virtual ~SimulatedDevice();

    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    // Bytes the host wrote at `nowUs`.
    void receive(std::span<const std::uint8_t> bytes, std::int64_t nowUs);
    // Takes the bytes that have reached the host by `nowUs`.
    std::size_t read(std::span<std::uint8_t> buffer, std::int64_t nowUs);
    [[nodiscard]] std::size_t available(std::int64_t nowUs);
    // When the next byte not yet taken reaches the host, if one is on its way.
    [[nodiscard]] std::optional<std::int64_t> nextArrivalUs(std::int64_t nowUs);

    // Output the device sends unasked at `atUs`: bytes left over from an
    // earlier activity, line noise. `repeat` bursts follow every `periodUs`.
    void sendUnsolicited(std::vector<std::uint8_t> bytes, std::int64_t atUs, int repeat = 1,
                         std::int64_t periodUs = 0);

    void setResponseDelayUs(std::int64_t us) { m_responseDelayUs = us; }
    [[nodiscard]] std::int64_t responseDelayUs() const { return m_responseDelayUs; }
    DeviceFaults& faults() { return m_faults; }

    // A device whose adapter is pulled out answers nothing and vanishes from
    // the port list until it is plugged in again.
    void unplug();
    void plugIn() { m_unplugged = false; }
    [[nodiscard]] bool isUnplugged() const { return m_unplugged; }

    // Every complete command received, in order, for tests of what was sent.
    [[nodiscard]] const std::vector<std::vector<std::uint8_t>>& commandLog() const
    {
        return m_commandLog;
    }
    void clearCommandLog() { m_commandLog.clear(); }

protected:
    // Argument bytes that follow `code`, or -1 for a code the device does not
    // know (the byte is dropped).
    [[nodiscard]] virtual int argumentCount(std::uint8_t code) const = 0;
    // One complete command, received at `atUs` (after its last byte arrived).
    virtual void handleCommand(std::uint8_t code, std::span<const std::uint8_t> arguments,
                               std::int64_t atUs) = 0;
    // Lets a device with ongoing activity add its output up to `nowUs`.
    virtual void produceUntil(std::int64_t /*nowUs*/) {}

    // Sends a reply that leaves after the response delay, subject to the
    // reply faults.
    void reply(std::vector<std::uint8_t> bytes, std::int64_t atUs);
    // Sends bytes as they are, starting at `atUs` (or when the line is free).
    void transmit(std::shared_ptr<const std::vector<std::uint8_t>> data, std::size_t begin,
                  std::size_t end, std::int64_t atUs);

private:
    // A run of bytes on the line, one byte time apart.
    struct Segment {
        std::int64_t startNs; // the first byte arrives one byte time after this
        std::shared_ptr<const std::vector<std::uint8_t>> data;
        std::size_t first; // first byte of the run
        std::size_t next;  // next byte to hand over
        std::size_t end;
        [[nodiscard]] std::int64_t arrivalNs(std::size_t index) const
        {
            return startNs + static_cast<std::int64_t>(index - first + 1) * ByteTimeNs;
        }
    };

    void catchUp(std::int64_t nowUs);
    void parseInput(std::int64_t atUs);

    std::deque<Segment> m_output;
    std::int64_t m_lineFreeNs = 0;
    std::multimap<std::int64_t, std::vector<std::uint8_t>> m_scheduled;
    std::vector<std::uint8_t> m_input;
    std::int64_t m_lastInputUs = 0;
    std::int64_t m_responseDelayUs = 2000;
    std::int64_t m_nextChatterUs = -1;
    std::shared_ptr<const std::vector<std::uint8_t>> m_chatterFrame;
    DeviceFaults m_faults;
    bool m_unplugged = false;
    std::vector<std::vector<std::uint8_t>> m_commandLog;
};
