#include "sim/EmulatedRadio.h"

#include <algorithm>
#include <cstdio>

EmulatedRadio::EmulatedRadio(RadioConfig config, const RadioClock& clock)
    : m_config(std::move(config)),
      m_clock(clock),
      m_cable(m_config, m_record),
      m_boot(m_config, m_flash, m_record, *this)
{
}

std::int64_t EmulatedRadio::ByteUs() const
{
    if (!m_config.pace)
        return 0;
    const unsigned baud = m_config.paceBaud != 0 ? m_config.paceBaud : m_line.baud;
    if (baud == 0)
        return 0;
    const int bits = 1 + m_line.dataBits + (m_line.parity == 'N' ? 0 : 1) + m_line.stopBits;
    return static_cast<std::int64_t>(bits) * 1000000 / baud;
}

void EmulatedRadio::PortOpened()
{
    if (m_open)
        return;
    const std::int64_t now = m_clock.NowUs();
    Advance(now);
    m_open = true;
    ++m_record.portOpens;
    m_cable.PortOpened(now);
    m_boot.PortOpened(now);
}

void EmulatedRadio::PortClosed()
{
    if (!m_open)
        return;
    Advance(m_clock.NowUs());
    m_open = false;
    ++m_record.portCloses;
    m_out.clear();
    // Bytes already on their way to the radio still get there; only the cable resets.
    std::vector<std::uint8_t> toRadio;
    m_cable.Poll(m_clock.NowUs(), toRadio);
    ToJack(toRadio, m_clock.NowUs());
    m_cable.PortClosed();
}

void EmulatedRadio::FromPc(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return;
    if (!m_open)
        PortOpened();
    const std::int64_t now = m_clock.NowUs();
    const std::int64_t byteUs = ByteUs();
    for (std::size_t i = 0; i < size; ++i) {
        const std::int64_t arrives = std::max(now, m_inFreeUs) + byteUs;
        m_inFreeUs = arrives;
        m_in.emplace_back(arrives, data[i]);
    }
    m_lastPcByteUs = now;
    Advance(now);
}

std::vector<std::uint8_t> EmulatedRadio::ToPc()
{
    Advance(m_clock.NowUs());
    std::vector<std::uint8_t> bytes;
    const std::int64_t now = m_clock.NowUs();
    while (!m_out.empty() && m_out.front().first <= now) {
        if (m_open)
            bytes.push_back(m_out.front().second);
        m_out.pop_front();
    }
    return bytes;
}

std::int64_t EmulatedRadio::NextEventUs() const
{
    std::int64_t next = std::min(m_boot.NextEventUs(), m_cable.NextEventUs());
    if (!m_in.empty())
        next = std::min(next, m_in.front().first);
    if (!m_out.empty())
        next = std::min(next, m_out.front().first);
    return next;
}

bool EmulatedRadio::StrikesAt(RadioFaultKind kind, long position)
{
    const RadioFault* fault = m_config.faults.Find(kind);
    if (fault == nullptr)
        return false;
    const long every = fault->value < 1 ? 1 : fault->value;
    if (position < every || (position - every) % every != 0)
        return false;
    return m_config.faults.Strike(kind) != nullptr;
}

void EmulatedRadio::Advance(std::int64_t nowUs)
{
    std::vector<std::uint8_t> toRadio;
    while (!m_in.empty() && m_in.front().first <= nowUs) {
        const auto [atUs, byte] = m_in.front();
        m_in.pop_front();
        toRadio.clear();
        m_cable.Poll(atUs, toRadio);
        ToJack(toRadio, atUs);
        m_boot.Poll(atUs);
        toRadio.clear();
        // A port set to another character format than 8 data bits without parity
        // produces nothing the radio can read.
        if (m_line.dataBits != 8 || m_line.parity != 'N')
            ++m_record.lostBytes;
        else
            m_cable.FromPc(byte, atUs, toRadio);
        ToJack(toRadio, atUs);
    }
    toRadio.clear();
    m_cable.Poll(nowUs, toRadio);
    ToJack(toRadio, nowUs);
    m_boot.Poll(nowUs);
}

void EmulatedRadio::ToJack(const std::vector<std::uint8_t>& bytes, std::int64_t atUs)
{
    for (std::uint8_t byte : bytes) {
        if (StrikesAt(FAULT_DROP, ++m_lineBytes)) {
            ++m_record.lostBytes;
            continue;
        }
        if (m_config.dialect == DIALECT_MIC_SP) {
            // The jack ties the PC's transmit line to its receive line: each byte comes
            // back as it is sent, before anything the radio says about it.
            std::uint8_t echo = byte;
            if (StrikesAt(FAULT_GARBLE_ECHO, ++m_echoBytes))
                echo ^= 0xFF;
            const std::int64_t at = std::max(atUs, m_outFreeUs);
            m_outFreeUs = at;
            m_out.emplace_back(at, echo);
        }
        m_boot.Receive(byte, atUs);
    }
}

void EmulatedRadio::Send(const std::vector<std::uint8_t>& bytes, std::int64_t atUs)
{
    const std::int64_t byteUs = ByteUs();
    for (std::uint8_t byte : bytes) {
        const std::int64_t at = std::max(atUs, m_outFreeUs) + byteUs;
        m_outFreeUs = at;
        m_out.emplace_back(at, byte);
    }
}

std::string EmulatedRadio::Summary() const
{
    const RadioRecord& r = m_record;
    const bool mic = m_config.dialect == DIALECT_MIC_SP;
    const char* cable = m_config.cable == RADIO_CABLE_QOX50   ? "qox50"
                        : m_config.cable == RADIO_CABLE_QOX70 ? "qox70"
                                                              : "plain";
    char text[512];
    std::snprintf(text, sizeof text,
                  "zul-radio: %s %s, opens %d, frames %d, bad frames %d, code answers %d, "
                  "blocks %zu, block frames %d, %s %d, data sum %04X, end frame %s, "
                  "packets %d, bad packets %d, lost bytes %d",
                  mic ? "mic" : "standard", cable, r.portOpens, r.frames, r.badFrames,
                  r.codeAnswers, m_flash.BlockCount(), r.blockFrames,
                  mic ? "prompts" : "protects", mic ? r.prompts : r.protects,
                  static_cast<unsigned>(m_flash.DataSum()), r.endFrame ? "yes" : "no",
                  r.packets, r.badPackets, r.lostBytes);
    return text;
}
