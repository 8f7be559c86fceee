#pragma once

#include <QDateTime>
#include <QTime>

#include <array>
#include <cstdint>
#include <vector>

class Exchange;

// What a settings write gives the logger.
struct LoggerSettings {
    int implantId = 0;
    int loggerId = 0;
    int intervalSeconds = 0;
    std::uint8_t dayMask = 0;
    std::uint16_t monthMask = 0;
    QTime vhfStart{0, 0, 0};
    QTime vhfStop{23, 59, 59};
};

// The logger's status and settings commands over the direct link.
class LoggerCommands {
public:
    explicit LoggerCommands(Exchange& exchange);

    // Drains the input (100 ms waits, reads of `drainChunk`), sends 28, waits
    // 200 ms and reads up to 72 bytes. Empty when the logger did not answer,
    // and also when the reply was cut short: the missing bytes would be read
    // as zeros - IDs and interval 0 written back, logging taken as off - so
    // a part of a block is no block.
    std::vector<std::uint8_t> readStatus(std::size_t drainChunk = 26);

    // The settings-write sequence: clock, VHF start, VHF stop, implant ID,
    // logger ID, interval, closing command, paced 50 / 10 ms apart. The clock
    // is set to `localNow`. Nothing is read back.
    void writeSettings(const LoggerSettings& settings, const QDateTime& localNow);

    // Writes `code` with 0xAA (on) or 0xEE (off), waits and reads the short
    // acknowledgement, which carries nothing the program uses.
    void switchActivity(std::uint8_t code, bool on, std::uint32_t waitMs = 200,
                        std::size_t acknowledgement = 2);

    static std::uint8_t toBcd(int value);
    static std::array<std::uint8_t, 8> clockCommand(const QDateTime& localNow);
    static std::array<std::uint8_t, 8> vhfCommand(std::uint8_t code, std::uint8_t dayMask,
                                                  std::uint16_t monthMask, const QTime& time);

private:
    Exchange& m_exchange;
};
