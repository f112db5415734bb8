#pragma once

#include <cstdint>
#include <vector>

#include "sim/RadioConfig.h"
#include "sim/RadioRecord.h"

// The programming cable between the PC's port and the radio, in the direction from
// the PC: what it passes on of the bytes the PC writes. The radio's answers pass back
// unchanged, so only this direction is modelled.
class CableModel {
public:
    CableModel(const RadioConfig& config, RadioRecord& record);

    void PortOpened(std::int64_t nowUs);
    // Closing the port drops DTR and RTS, which resets the cable: a QOX-50 leaves its
    // packet mode and forgets a packet it was in the middle of.
    void PortClosed();

    // One byte from the PC, fully received at atUs; appends what reaches the radio.
    void FromPc(std::uint8_t byte, std::int64_t atUs, std::vector<std::uint8_t>& toRadio);
    // Lets time pass: held bytes are let go, a packet cut short by a pause is dropped.
    void Poll(std::int64_t nowUs, std::vector<std::uint8_t>& toRadio);
    std::int64_t NextEventUs() const;

    bool PacketMode() const { return m_packetMode; }

private:
    void PassThrough(std::uint8_t byte, std::vector<std::uint8_t>& toRadio);
    void PacketByte(std::uint8_t byte);
    void Malformed();

    const RadioConfig& m_config;
    RadioRecord& m_record;

    std::int64_t m_settledUs = 0;
    std::int64_t m_lastUs = 0;
    bool m_packetMode = false;
    std::vector<std::uint8_t> m_held;   // pass-through: a possible start of the mode frame
    std::vector<std::uint8_t> m_header; // packet mode: header bytes so far
    int m_dataLeft = 0;                 // packet mode: data bytes still to pass on
    bool m_rejecting = false;           // inside a malformed packet
};
