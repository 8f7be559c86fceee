#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

class DeviceLink;
class Pump;
class UserPrompts;

// The device type byte of the identify reply.
enum class DeviceKind : std::uint8_t { Logger = 1, BaseStation = 2 };

enum class IdentifyResult {
    Identified, // the expected device answered
    NoReply,    // nothing came back
    WrongDevice // something answered, but not the expected device
};

// The waits of one identify: before each drain read, and between the identify
// command and its reply. Most buttons use 100 / 100 ms.
struct IdentifyTiming {
    std::uint32_t drainWaitMs = 100;
    std::uint32_t replyWaitMs = 100;
};

// The steps every device conversation is made of: drain stale input, write a
// command, wait while the interface stays alive, read a fixed-length reply.
// A reply shorter than asked but not empty is returned as it is.
class Exchange {
public:
    Exchange(DeviceLink& link, Pump& pump, UserPrompts& prompts);

    void pumpWait(std::uint32_t ms);

    // A device that never goes quiet (one left streaming) would keep a drain
    // going for ever, and with it every command after it: after this long the
    // drain gives up and the command goes out anyway; the reply checks decide.
    static constexpr std::uint32_t DrainLimitMs = 2000;

    // Waits, reads up to `chunk` bytes and throws them away, and repeats until
    // a wait passes with nothing arriving, the link is gone, or DrainLimitMs
    // have passed. Returns the number of bytes thrown away.
    std::size_t drainInput(std::uint32_t waitMs, std::size_t chunk);

    void write(std::span<const std::uint8_t> bytes);
    void write(std::initializer_list<std::uint8_t> bytes);

    // One read of up to `length` bytes.
    std::vector<std::uint8_t> read(std::size_t length);

    // write, PumpWait(waitMs), one read of up to replyLength bytes.
    std::vector<std::uint8_t> request(std::span<const std::uint8_t> command, std::uint32_t waitMs,
                                      std::size_t replyLength);
    std::vector<std::uint8_t> request(std::initializer_list<std::uint8_t> command,
                                      std::uint32_t waitMs, std::size_t replyLength);

    // Identifies the device on the cable; on failure shows the standard
    // message for the expected device and returns why.
    IdentifyResult identify(DeviceKind expected, IdentifyTiming timing = {});

    // The device type an identify reply names, if it is a valid reply.
    static std::optional<DeviceKind> kindFromIdentifyReply(std::span<const std::uint8_t> reply);

    static QString noCommunicationMessage(DeviceKind expected);
    static QString wrongDeviceMessage(DeviceKind expected);

    // The port closed under the conversation: the adapter was pulled, the
    // other end hung up, or the main window saw the device go. Running loops
    // end at once on this.
    [[nodiscard]] bool linkLost() const;

    [[nodiscard]] DeviceLink& link() const { return m_link; }
    [[nodiscard]] Pump& pump() const { return m_pump; }
    [[nodiscard]] UserPrompts& prompts() const { return m_prompts; }

private:
    DeviceLink& m_link;
    Pump& m_pump;
    UserPrompts& m_prompts;
};
