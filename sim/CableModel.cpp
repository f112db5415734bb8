#include "sim/CableModel.h"

#include <limits>

namespace {

const std::uint8_t kModeFrame[8] = {0x51, 0xAE, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};
const std::uint8_t kPacketHeader[8] = {0x50, 0xAF, 0x00, 0x00, 0x00, 0x00, 0x00 /* n */, 0x00};
constexpr std::size_t HEADER_SIZE = 8;
constexpr std::size_t COUNT_OFFSET = 6;
constexpr int MAX_PACKET_DATA = 56;
constexpr std::int64_t NEVER = std::numeric_limits<std::int64_t>::max();

}  // namespace

CableModel::CableModel(const RadioConfig& config, RadioRecord& record)
    : m_config(config), m_record(record)
{
}

void CableModel::PortOpened(std::int64_t nowUs)
{
    if (m_config.cable == RADIO_CABLE_QOX70)
        m_settledUs = nowUs + static_cast<std::int64_t>(m_config.settleMs) * 1000;
}

void CableModel::PortClosed()
{
    m_packetMode = false;
    m_held.clear();
    m_header.clear();
    m_dataLeft = 0;
    m_rejecting = false;
}

std::int64_t CableModel::NextEventUs() const
{
    if (!m_held.empty())
        return m_lastUs + static_cast<std::int64_t>(m_config.holdMs) * 1000;
    if (!m_header.empty() || m_dataLeft > 0)
        return m_lastUs + static_cast<std::int64_t>(m_config.frameGapMs) * 1000;
    return NEVER;
}

void CableModel::Poll(std::int64_t nowUs, std::vector<std::uint8_t>& toRadio)
{
    if (!m_held.empty() && nowUs - m_lastUs >= static_cast<std::int64_t>(m_config.holdMs) * 1000) {
        toRadio.insert(toRadio.end(), m_held.begin(), m_held.end());
        m_held.clear();
    }
    if ((!m_header.empty() || m_dataLeft > 0) &&
        nowUs - m_lastUs >= static_cast<std::int64_t>(m_config.frameGapMs) * 1000) {
        m_record.lostBytes += static_cast<int>(m_header.size());
        m_header.clear();
        m_dataLeft = 0;
        ++m_record.badPackets;
    }
}

void CableModel::FromPc(std::uint8_t byte, std::int64_t atUs, std::vector<std::uint8_t>& toRadio)
{
    Poll(atUs, toRadio);
    m_lastUs = atUs;
    switch (m_config.cable) {
    case RADIO_CABLE_QOX70:
        if (atUs < m_settledUs)
            ++m_record.lostBytes;
        else
            toRadio.push_back(byte);
        break;
    case RADIO_CABLE_QOX50:
        if (!m_packetMode) {
            PassThrough(byte, toRadio);
        } else if (m_dataLeft > 0) {
            toRadio.push_back(byte);
            if (--m_dataLeft == 0)
                ++m_record.packets;
        } else {
            PacketByte(byte);
        }
        break;
    default:
        toRadio.push_back(byte);
        break;
    }
}

void CableModel::PassThrough(std::uint8_t byte, std::vector<std::uint8_t>& toRadio)
{
    // Bytes that may begin the mode frame are held back for a moment: the frame is
    // meant for the cable and must not reach the radio.
    if (byte == kModeFrame[m_held.size()]) {
        m_held.push_back(byte);
        if (m_held.size() == HEADER_SIZE) {
            m_held.clear();
            m_packetMode = true;
            ++m_record.modeFrames;
        }
        return;
    }
    toRadio.insert(toRadio.end(), m_held.begin(), m_held.end());
    m_held.clear();
    if (byte == kModeFrame[0])
        m_held.push_back(byte);
    else
        toRadio.push_back(byte);
}

void CableModel::Malformed()
{
    if (!m_rejecting)
        ++m_record.badPackets;
    m_rejecting = true;
    m_record.lostBytes += static_cast<int>(m_header.size());
    m_header.clear();
}

void CableModel::PacketByte(std::uint8_t byte)
{
    // At a packet boundary only a packet header or another mode frame may start.
    for (int pass = 0; pass < 2; ++pass) {
        const std::size_t pos = m_header.size();
        bool fits = false;
        if (pos == 0) {
            fits = byte == kPacketHeader[0] || byte == kModeFrame[0];
        } else if (m_header[0] == kModeFrame[0]) {
            fits = byte == kModeFrame[pos];
        } else if (pos == COUNT_OFFSET) {
            fits = byte >= 1 && byte <= MAX_PACKET_DATA;
        } else {
            fits = byte == kPacketHeader[pos];
        }
        if (fits) {
            m_header.push_back(byte);
            if (m_header.size() == HEADER_SIZE) {
                if (m_header[0] == kModeFrame[0])
                    ++m_record.modeFrames;
                else
                    m_dataLeft = m_header[COUNT_OFFSET];
                m_header.clear();
                m_rejecting = false;
            }
            return;
        }
        if (pos == 0) {
            // A byte that cannot start anything belongs to the malformed packet.
            Malformed();
            ++m_record.lostBytes;
            return;
        }
        // The header broke off here; this byte may still start the next one.
        Malformed();
    }
}
