#pragma once

#include "link/DeviceLink.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// A port fed from a fuzz input, to drive a parser the way a device's stream
// reaches it: in pieces of any size, with pauses of any length between them.
//
// The input is a series of steps. Each step is a control byte and then up to
// 31 bytes (the control byte's low five bits say how many; fewer when the
// input ends) that arrive at the port together; after them, time passes as
// the control byte's top three bits pick from AdvanceMs. Reads hand out what
// has arrived, never more than asked for, as a real port does.
class SimulatedPump;

class ChunkedLink final : public DeviceLink {
public:
    static constexpr std::size_t MaxChunk = 31;
    static constexpr std::array<int, 8> AdvanceMs{0, 1, 2, 5, 10, 50, 120, 1000};

    explicit ChunkedLink(std::span<const std::uint8_t> input);

    // Lets the next step's bytes arrive; returns the time that passes after
    // them in milliseconds, or nothing when the input is used up.
    std::optional<int> deliverNext();
    // Plays the whole input: each step's bytes arrive, `poll` runs, the
    // step's pause passes on `pump`; then, as a reader's loop would, `poll`
    // runs once a millisecond until everything that arrived has been read
    // (giving up after as many polls as the input has bytes).
    void play(SimulatedPump& pump, const std::function<void()>& poll);
    [[nodiscard]] std::size_t buffered() const { return m_arrived.size() - m_readPos; }
    [[nodiscard]] std::size_t delivered() const { return m_delivered; }
    [[nodiscard]] std::size_t handedOut() const { return m_handedOut; }

    // The steps that deliver `bytes` in pieces of `chunk` bytes (1 to 31),
    // each followed by the pause AdvanceMs[advanceIndex]: for seed inputs.
    static std::vector<std::uint8_t> encode(std::span<const std::uint8_t> bytes, std::size_t chunk,
                                            std::size_t advanceIndex);

    bool open(const QString& portName) override;
    void configure() override {}
    void close() override { m_open = false; }
    [[nodiscard]] bool isOpen() const override { return m_open; }
    [[nodiscard]] QString portName() const override { return m_name; }
    std::size_t read(std::span<std::uint8_t> buffer) override;
    void write(std::span<const std::uint8_t> bytes) override;

private:
    std::span<const std::uint8_t> m_input;
    std::size_t m_inputPos = 0;
    std::vector<std::uint8_t> m_arrived;
    std::size_t m_readPos = 0;
    std::size_t m_delivered = 0;
    std::size_t m_handedOut = 0;
    QString m_name = QStringLiteral("fuzz");
    bool m_open = true;
};
