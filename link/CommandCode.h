#pragma once

#include <cstdint>

// One-byte command codes understood by the logger and the base station.
namespace CommandCode {
inline constexpr std::uint8_t DumpMemory = 17;         // logger: stream the used memory
inline constexpr std::uint8_t EraseMemory = 18;        // logger: erase the data memory
inline constexpr std::uint8_t SetClock = 19;           // logger: 7 BCD clock bytes
inline constexpr std::uint8_t SetVhfStart = 20;        // logger: VHF masks and start time
inline constexpr std::uint8_t SetVhfStop = 21;         // logger: VHF masks and stop time
inline constexpr std::uint8_t EraseFinish = 22;        // logger: last step of an erase
inline constexpr std::uint8_t SetImplantId = 23;       // logger: implant ID; base: implant to reach
inline constexpr std::uint8_t SetHeadThreshold = 24;   // logger: i16 head-position threshold
inline constexpr std::uint8_t ReadHeadTilt = 25;       // logger: head-tilt acceleration
inline constexpr std::uint8_t CloseSettings = 26;      // logger: ends the settings write
inline constexpr std::uint8_t SetLoggerId = 27;        // logger: logger ID
inline constexpr std::uint8_t ReadStatus = 28;         // logger: 72-byte status block
inline constexpr std::uint8_t SetInterval = 29;        // logger: interval in 15-second steps
inline constexpr std::uint8_t Logging = 30;            // logger: logging on/off
inline constexpr std::uint8_t AddFrequencyOffset = 32; // logger: i16 offset in 2.5 kHz steps
inline constexpr std::uint8_t CalibrationLog = 33;     // logger: frequency reports on/off
inline constexpr std::uint8_t Surveillance = 34;       // logger: live packets on/off
inline constexpr std::uint8_t ImplantSurveillance = 35;  // base: implant reports on/off
inline constexpr std::uint8_t VicinityObservation = 36;  // base: logger reports on/off
inline constexpr std::uint8_t LoggerConnection = 37;     // base: radio link to a logger
inline constexpr std::uint8_t RemoteStatus = 38;         // base: connected logger's status frame
inline constexpr std::uint8_t Identify = 39;             // both: who is on the cable
inline constexpr std::uint8_t EraseCheck = 40;           // logger: erase check step
inline constexpr std::uint8_t RemoteChunk = 41;          // base: 100-byte memory chunk
inline constexpr std::uint8_t BaseRevision = 48;         // base: firmware and hardware texts
inline constexpr std::uint8_t ResetFrequencyOffset = 49; // logger: centre frequency to default
inline constexpr std::uint8_t ReadFrequency = 50;        // logger: centre frequency and offset

// Second byte of the two-byte switch commands.
inline constexpr std::uint8_t On = 0xAA;
inline constexpr std::uint8_t Off = 0xEE;
} // namespace CommandCode
