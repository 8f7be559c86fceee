#pragma once

#include "sim/SimulatedDevice.h"
#include "sim/SimulatedLogger.h"

#include <memory>
#include <string>
#include <vector>

// A base station on the cable, with the loggers it can reach by radio. It
// answers identify and its revision; it names an implant, connects to the
// logger paired with it (that logger's status byte 46) after a radio delay,
// relays the logger's status and memory in CRC-checked frames, and, while
// switched on, reports the loggers and implants it hears.
class SimulatedBaseStation final : public SimulatedDevice {
public:
    // What goes wrong on the radio side, switched on by a test or by
    // harvane-devsim.
    struct RadioFaults {
        int corruptFrames = 0;       // the next N status or chunk frames fail their CRC
        int shortFrames = 0;         // the next N status or chunk frames are cut short
        bool noConnectReply = false; // the connect command is not acknowledged
        bool neverConnects = false;  // acknowledged, but the logger is never reached
    };

    SimulatedBaseStation();
    ~SimulatedBaseStation() override;

    // A logger in range, paired with the implant in its status byte 46. The
    // base station starts with one: implant 7, logger 12, empty memory.
    SimulatedLogger& addLogger();
    [[nodiscard]] std::size_t loggerCount() const { return m_loggers.size(); }
    SimulatedLogger& logger(std::size_t index = 0) { return *m_loggers.at(index); }
    SimulatedLogger* loggerForImplant(std::uint8_t implant);

    // From the connect command to the signal that the logger is connected.
    void setConnectDelayUs(std::int64_t us) { m_connectDelayUs = us; }
    // Until the logger's status is asked for, the signal comes again this
    // often (0: once only), so that one lost on the way does not leave the
    // program waiting.
    void setConnectedSignalRepeatUs(std::int64_t us) { m_signalRepeatUs = us; }
    RadioFaults& radioFaults() { return m_radioFaults; }
    // The revision texts, at most ten characters each.
    void setRevision(std::string firmware, std::string hardware);

    // While reports are on, one report per period, taking the loggers in
    // range and the extra IDs in turn.
    void setLoggerReportPeriodUs(std::int64_t us) { m_loggerReportPeriodUs = us; }
    void setImplantReportPeriodUs(std::int64_t us) { m_implantReportPeriodUs = us; }
    void setExtraLoggerIds(std::vector<std::uint8_t> ids) { m_extraLoggers = std::move(ids); }
    void setExtraImplantIds(std::vector<std::uint8_t> ids) { m_extraImplants = std::move(ids); }

    [[nodiscard]] std::uint8_t selectedImplant() const { return m_selectedImplant; }
    [[nodiscard]] bool connected() const { return m_connected; }
    [[nodiscard]] bool loggerReportsOn() const { return m_loggerReports; }
    [[nodiscard]] bool implantReportsOn() const { return m_implantReports; }
    // When each chunk request came in, device time, for measuring the
    // download's cycle.
    [[nodiscard]] const std::vector<std::int64_t>& chunkRequestTimesUs() const
    {
        return m_chunkRequestsUs;
    }

protected:
    [[nodiscard]] int argumentCount(std::uint8_t code) const override;
    void handleCommand(std::uint8_t code, std::span<const std::uint8_t> arguments,
                       std::int64_t atUs) override;
    void produceUntil(std::int64_t nowUs) override;

private:
    void relay(std::vector<std::uint8_t> frame, std::int64_t atUs);
    void send(std::vector<std::uint8_t> bytes, std::int64_t atUs);
    std::vector<std::uint8_t> nextLoggerReport();
    std::vector<std::uint8_t> nextImplantReport();
    int noise(int range);

    std::vector<std::unique_ptr<SimulatedLogger>> m_loggers;
    std::uint8_t m_selectedImplant = 0;
    SimulatedLogger* m_target = nullptr;
    bool m_connecting = false;
    bool m_connected = false;
    std::int64_t m_connectAtUs = 0;
    std::int64_t m_connectDelayUs = 1'500'000;
    std::int64_t m_signalRepeatUs = 1'000'000;
    RadioFaults m_radioFaults;
    std::vector<std::uint8_t> m_revision;
    bool m_loggerReports = false;
    bool m_implantReports = false;
    std::int64_t m_loggerReportPeriodUs = 1'000'000;
    std::int64_t m_implantReportPeriodUs = 2'000'000;
    std::int64_t m_nextLoggerReportUs = 0;
    std::int64_t m_nextImplantReportUs = 0;
    std::vector<std::uint8_t> m_extraLoggers{31, 44};
    std::vector<std::uint8_t> m_extraImplants{3, 21};
    std::size_t m_loggerTurn = 0;
    std::size_t m_implantTurn = 0;
    int m_implantReportCount = 0;
    std::uint32_t m_noise = 4711;
    std::vector<std::int64_t> m_chunkRequestsUs;
};
