#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "sim/BootLoader.h"
#include "sim/CableModel.h"
#include "sim/RadioClock.h"
#include "sim/RadioConfig.h"
#include "sim/RadioFlash.h"
#include "sim/RadioRecord.h"

// The far side of the PC's serial port: line, cable, MIC/SP jack and radio, as one
// byte-driven machine. The owner passes in what the PC wrote and whether its port is
// open, and takes out what has reached the port by the clock's present time. With
// pacing on, bytes take as long as their bits do at the line's baud rate.
class EmulatedRadio : private RadioOutput {
public:
    EmulatedRadio(RadioConfig config, const RadioClock& clock);

    void PortOpened();
    // Bytes on their way to a closed port are lost, as on a real line.
    void PortClosed();
    bool PortOpen() const { return m_open; }
    void SetLineSettings(const LineSettings& settings) { m_line = settings; }

    // Bytes the PC wrote, now. Writing implies the port is open.
    void FromPc(const std::uint8_t* data, std::size_t size);
    void FromPc(const std::vector<std::uint8_t>& bytes) { FromPc(bytes.data(), bytes.size()); }
    // Everything that has reached the PC's port by now.
    std::vector<std::uint8_t> ToPc();

    // When the next thing happens by itself (BootLoader::NEVER when nothing will).
    std::int64_t NextEventUs() const;
    // When the last byte from the PC came (-1 before the first).
    std::int64_t LastPcByteUs() const { return m_lastPcByteUs; }

    const RadioFlash& Flash() const { return m_flash; }
    const RadioRecord& Record() const { return m_record; }
    const RadioConfig& Config() const { return m_config; }
    bool CablePacketMode() const { return m_cable.PacketMode(); }
    // One line: what the radio received, for the end of a run.
    std::string Summary() const;

    void SetLog(std::function<void(const std::string&)> log) { m_boot.log = std::move(log); }

private:
    void Send(const std::vector<std::uint8_t>& bytes, std::int64_t atUs) override;
    void Advance(std::int64_t nowUs);
    void ToJack(const std::vector<std::uint8_t>& bytes, std::int64_t atUs);
    bool StrikesAt(RadioFaultKind kind, long position);
    std::int64_t ByteUs() const;

    RadioConfig m_config;
    const RadioClock& m_clock;
    RadioRecord m_record;
    RadioFlash m_flash;
    CableModel m_cable;
    BootLoader m_boot;

    bool m_open = false;
    LineSettings m_line;
    std::deque<std::pair<std::int64_t, std::uint8_t>> m_in;  // PC bytes and when they arrive
    std::deque<std::pair<std::int64_t, std::uint8_t>> m_out; // bytes and when they reach the PC
    std::int64_t m_inFreeUs = 0;   // when the line towards the radio is free again
    std::int64_t m_outFreeUs = 0;  // when the line towards the PC is free again
    std::int64_t m_lastPcByteUs = -1;
    long m_lineBytes = 0;          // bytes that reached the line after the cable
    long m_echoBytes = 0;          // bytes echoed by the MIC/SP jack
};
