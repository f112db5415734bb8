#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "sim/RadioConfig.h"
#include "sim/RadioFlash.h"
#include "sim/RadioRecord.h"

// Where the radio's own bytes go: onto the line towards the PC.
class RadioOutput {
public:
    virtual ~RadioOutput() = default;
    // Bytes that the radio starts to send at atUs, in this order.
    virtual void Send(const std::vector<std::uint8_t>& bytes, std::int64_t atUs) = 0;
};

// The radio's boot loader in either dialect: takes the bytes that reach the radio
// one by one, with the time each arrived, checks frames and sums, answers, and
// writes accepted blocks into the flash. It knows nothing of ports or cables.
class BootLoader {
public:
    static constexpr std::int64_t NEVER = std::numeric_limits<std::int64_t>::max();

    BootLoader(RadioConfig& config, RadioFlash& flash, RadioRecord& record, RadioOutput& out);

    // The PC opened its port; the first time, the radio is switched on (after the
    // power-on delay), as the user does when the program asks for it.
    void PortOpened(std::int64_t nowUs);
    void Receive(std::uint8_t byte, std::int64_t atUs);
    // Lets time pass: power-on, boot prompts, frames cut short by a pause.
    void Poll(std::int64_t nowUs);
    std::int64_t NextEventUs() const;

    bool Listening() const { return m_state != BOOT_OFF; }

    // Receives one line per event when set (zul-radio --verbose).
    std::function<void(const std::string&)> log;

private:
    enum BootState {
        BOOT_OFF,          // not switched on yet
        BOOT_WAIT_SYNC,    // standard: waiting for the sync byte to follow the baud rate
        BOOT_WAIT_CONFIRM, // standard: following; waiting for the confirm byte
        BOOT_PROMPT,       // MIC/SP: sending boot prompts until they are answered
        BOOT_COMMAND,      // taking frames
        BOOT_DONE,         // MIC/SP: end frame taken; the radio has left its boot loader
    };

    void Answer(std::vector<std::uint8_t> bytes, std::int64_t atUs);
    void Log(const char* format, ...) const;
    void StartFrame(std::uint8_t byte, std::int64_t atUs);
    std::size_t ExpectedFrameSize() const;
    void FrameComplete(std::int64_t atUs);
    void BadFrame(const char* why);
    void AddressFrame(std::int64_t atUs);
    void StandardBlockFrame(std::int64_t atUs);
    void ProtectCommand(std::int64_t atUs);
    void MicBlockFrame(std::int64_t atUs);
    void EndFrame();
    std::vector<std::uint8_t> ProductCode();

    RadioConfig& m_config;
    RadioFlash& m_flash;
    RadioRecord& m_record;
    RadioOutput& m_out;
    const bool m_mic;
    const bool m_silent;

    BootState m_state = BOOT_OFF;
    std::int64_t m_powerOnUs = -1;
    std::int64_t m_nextPromptUs = NEVER;
    std::vector<std::uint8_t> m_frame;
    std::int64_t m_lastByteUs = 0;
    bool m_codeAnswered = false;
    bool m_hasBlock = false;
    std::uint16_t m_lastBlockNumber = 0;
    std::uint16_t m_lastBlockSum = 0;
    std::uint32_t m_noiseSeed = 0x2545F491u;
};
