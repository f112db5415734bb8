#include "sim/BootLoader.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::uint16_t Sum16(const std::uint8_t* data, std::size_t size)
{
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum = static_cast<std::uint16_t>(sum + data[i]);
    return sum;
}

std::uint8_t Sum8(const std::uint8_t* data, std::size_t size)
{
    return static_cast<std::uint8_t>(Sum16(data, size));
}

std::uint8_t Hi(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }
std::uint8_t Lo(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }

constexpr std::size_t STD_ADDRESS_SIZE = 6;
constexpr std::size_t STD_BLOCK_SIZE = 517;
constexpr std::size_t PROTECT_SIZE = 3;
constexpr std::size_t MIC_ADDRESS_SIZE = 5;
constexpr std::uint16_t MIC_BLOCK_LENGTH = 0x0203;
constexpr std::uint16_t MIC_END_LENGTH = 0x0001;
constexpr std::uint32_t MIC_BLOCK_OFFSET = 0x40;

}  // namespace

BootLoader::BootLoader(RadioConfig& config, RadioFlash& flash, RadioRecord& record, RadioOutput& out)
    : m_config(config),
      m_flash(flash),
      m_record(record),
      m_out(out),
      m_mic(config.dialect == DIALECT_MIC_SP),
      m_silent(config.faults.Find(FAULT_SILENT) != nullptr)
{
}

void BootLoader::Log(const char* format, ...) const
{
    if (!log)
        return;
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    log(text);
}

void BootLoader::Answer(std::vector<std::uint8_t> bytes, std::int64_t atUs)
{
    if (m_silent || bytes.empty())
        return;
    m_out.Send(bytes, atUs);
}

void BootLoader::PortOpened(std::int64_t nowUs)
{
    if (m_powerOnUs >= 0)
        return;
    m_powerOnUs = nowUs + static_cast<std::int64_t>(m_config.powerOnMs) * 1000;
    Poll(nowUs);
}

std::int64_t BootLoader::NextEventUs() const
{
    std::int64_t next = NEVER;
    if (m_state == BOOT_OFF && m_powerOnUs >= 0)
        next = m_powerOnUs;
    if (m_state == BOOT_PROMPT && m_nextPromptUs < next)
        next = m_nextPromptUs;
    if (!m_frame.empty()) {
        const std::int64_t cut = m_lastByteUs + static_cast<std::int64_t>(m_config.frameGapMs) * 1000;
        if (cut < next)
            next = cut;
    }
    return next;
}

void BootLoader::Poll(std::int64_t nowUs)
{
    if (m_state == BOOT_OFF && m_powerOnUs >= 0 && nowUs >= m_powerOnUs) {
        Log("radio on");
        if (!m_mic) {
            m_state = BOOT_WAIT_SYNC;
        } else {
            m_state = BOOT_PROMPT;
            m_nextPromptUs = m_powerOnUs;
            if (const RadioFault* noise = m_config.faults.Strike(FAULT_NOISE)) {
                // Noise as a switched-on radio may put on the line; never the prompt byte
                // itself, or the PC could answer a prompt that was never sent.
                std::vector<std::uint8_t> bytes;
                const int count = noise->value < 0 ? 16 : noise->value;
                for (int i = 0; i < count; ++i) {
                    m_noiseSeed = m_noiseSeed * 1103515245u + 12345u;
                    std::uint8_t b = static_cast<std::uint8_t>(m_noiseSeed >> 16);
                    if (b == 0x5A)
                        b = 0x5B;
                    bytes.push_back(b);
                }
                Log("noise: %d bytes", count);
                Answer(bytes, m_powerOnUs);
            }
        }
    }

    if (m_state == BOOT_PROMPT) {
        const std::int64_t intervalUs =
            static_cast<std::int64_t>(m_config.promptIntervalMs > 0 ? m_config.promptIntervalMs : 1) * 1000;
        // After a long jump of time only the latest prompts matter; nobody was listening.
        if (nowUs - m_nextPromptUs > 64 * intervalUs)
            m_nextPromptUs += (nowUs - m_nextPromptUs) / intervalUs * intervalUs - 8 * intervalUs;
        const bool prompting = m_config.faults.Find(FAULT_NO_PROMPT) == nullptr;
        while (m_nextPromptUs <= nowUs) {
            if (prompting) {
                Answer({0x5A}, m_nextPromptUs);
                ++m_record.prompts;
            }
            m_nextPromptUs += intervalUs;
        }
    }

    if (!m_frame.empty() &&
        nowUs - m_lastByteUs >= static_cast<std::int64_t>(m_config.frameGapMs) * 1000) {
        BadFrame("cut short by a pause");
    }
}

void BootLoader::Receive(std::uint8_t byte, std::int64_t atUs)
{
    Poll(atUs);
    if (m_state == BOOT_OFF || m_state == BOOT_DONE)
        return;
    m_lastByteUs = atUs;

    if (!m_frame.empty()) {
        m_frame.push_back(byte);
        const std::size_t expected = ExpectedFrameSize();
        if (expected == 0)
            BadFrame("wrong length field");
        else if (m_frame.size() == expected)
            FrameComplete(atUs);
        return;
    }

    const std::int64_t answerUs = atUs + static_cast<std::int64_t>(m_config.latencyMs) * 1000;
    switch (m_state) {
    case BOOT_WAIT_SYNC:
        if (byte == 0x00 && m_config.faults.Find(FAULT_NO_SYNC_ECHO) == nullptr) {
            Answer({0x00}, answerUs);
            ++m_record.syncEchoes;
            m_state = BOOT_WAIT_CONFIRM;
            Log("sync: following the baud rate");
        } else if (byte != 0x00) {
            ++m_record.strayBytes;
        }
        break;
    case BOOT_WAIT_CONFIRM:
        if (byte == 0x00) {
            Answer({0x00}, answerUs);
            ++m_record.syncEchoes;
        } else if (byte == 0x5A && m_config.faults.Find(FAULT_NO_CONFIRM_ECHO) == nullptr) {
            Answer({0x5A}, answerUs);
            ++m_record.confirmEchoes;
            m_state = BOOT_COMMAND;
            Log("confirm: ready for frames");
        } else if (byte != 0x5A) {
            ++m_record.strayBytes;
        }
        break;
    case BOOT_PROMPT:
        if (byte == 0xA0) {
            m_state = BOOT_COMMAND;
            m_record.promptAnswered = true;
            Log("prompt answered");
        }
        break;
    case BOOT_COMMAND:
        StartFrame(byte, answerUs);
        break;
    default:
        break;
    }
}

void BootLoader::StartFrame(std::uint8_t byte, std::int64_t answerUs)
{
    if (!m_mic) {
        if (byte == 0x5C || byte == 0x57 || byte == 0xAA) {
            m_frame.push_back(byte);
        } else if (byte == 0x00 || byte == 0x5A) {
            // Between frames the boot loader still answers the baud-rate handshake, so
            // a PC that lost an echo and synchronises again gets through.
            Answer({byte}, answerUs);
            ++(byte == 0x00 ? m_record.syncEchoes : m_record.confirmEchoes);
        } else {
            ++m_record.strayBytes;
        }
        return;
    }
    if (byte == 0x5C || byte == 0xE0 || byte == 0x38)
        m_frame.push_back(byte);
    else if (byte != 0x00)  // filler after a failed block is expected and harmless
        ++m_record.strayBytes;
}

std::size_t BootLoader::ExpectedFrameSize() const
{
    const std::uint8_t command = m_frame[0];
    if (!m_mic) {
        if (command == 0x5C)
            return STD_ADDRESS_SIZE;
        if (command == 0x57)
            return STD_BLOCK_SIZE;
        return PROTECT_SIZE;
    }
    if (command == 0x5C)
        return MIC_ADDRESS_SIZE;
    if (m_frame.size() < 3)
        return 3 + 1;  // the length field is not complete yet
    const std::uint16_t length = static_cast<std::uint16_t>(m_frame[1] << 8 | m_frame[2]);
    if ((command == 0xE0 && length != MIC_BLOCK_LENGTH) || (command == 0x38 && length != MIC_END_LENGTH))
        return 0;
    return 3 + length;
}

void BootLoader::BadFrame(const char* why)
{
    ++m_record.badFrames;
    Log("frame %02X of %zu bytes thrown away: %s", m_frame.empty() ? 0 : m_frame[0], m_frame.size(), why);
    m_frame.clear();
}

void BootLoader::FrameComplete(std::int64_t atUs)
{
    const std::int64_t answerUs = atUs + static_cast<std::int64_t>(m_config.latencyMs) * 1000;
    switch (m_frame[0]) {
    case 0x5C:
        AddressFrame(answerUs);
        break;
    case 0x57:
        StandardBlockFrame(answerUs);
        break;
    case 0xAA:
        ProtectCommand(answerUs);
        break;
    case 0xE0:
        MicBlockFrame(answerUs);
        break;
    case 0x38:
        EndFrame();
        break;
    default:
        break;
    }
    m_frame.clear();
}

std::vector<std::uint8_t> BootLoader::ProductCode()
{
    std::vector<std::uint8_t> code(m_config.productCode.begin(), m_config.productCode.end());
    if (m_config.faults.Strike(FAULT_CODE_FF) != nullptr) {
        code.assign(16, 0xFF);
    } else if (const RadioFault* other = m_config.faults.Strike(FAULT_OTHER_CODE)) {
        const int index = other->value < 1 ? 0 : other->value - 1;
        code[static_cast<std::size_t>(index)] ^= 0xFF;
    }
    return code;
}

void BootLoader::AddressFrame(std::int64_t answerUs)
{
    const std::uint8_t* f = m_frame.data();
    const bool sumOk = m_mic ? Sum8(f, 4) == f[4] : Sum16(f + 1, 3) == (f[4] << 8 | f[5]);
    if (!sumOk) {
        BadFrame("address frame with a wrong sum");
        return;
    }
    ++m_record.frames;
    if (m_config.checkAddress &&
        !(f[1] == m_config.productAddress[0] && f[2] == m_config.productAddress[1] &&
          f[3] == m_config.productAddress[2])) {
        ++m_record.wrongAddresses;
        Log("address %02X %02X %02X: not where the product code is", f[1], f[2], f[3]);
        return;
    }
    std::vector<std::uint8_t> answer = ProductCode();
    const std::uint16_t sum = Sum16(answer.data(), 16);
    const bool badSum = m_config.faults.Strike(FAULT_CODE_BAD_SUM) != nullptr;
    if (m_mic) {
        answer.push_back(static_cast<std::uint8_t>(Lo(sum) + (badSum ? 1 : 0)));
    } else {
        const std::uint16_t sent = static_cast<std::uint16_t>(sum + (badSum ? 1 : 0));
        answer.push_back(Hi(sent));
        answer.push_back(Lo(sent));
    }
    Answer(answer, answerUs);
    ++m_record.codeAnswers;
    m_codeAnswered = true;
    Log("address %02X %02X %02X: product code answered%s", f[1], f[2], f[3], badSum ? " with a wrong sum" : "");
}

void BootLoader::StandardBlockFrame(std::int64_t answerUs)
{
    const std::uint8_t* f = m_frame.data();
    const std::uint16_t sum = Sum16(f + 1, 514);
    const std::uint16_t sent = static_cast<std::uint16_t>(f[515] << 8 | f[516]);
    const std::uint16_t number = static_cast<std::uint16_t>(f[1] << 8 | f[2]);
    if (sum != sent) {
        Log("block %04X: sum %04X, frame says %04X", number, sum, sent);
        BadFrame("block frame with a wrong sum");
        return;
    }
    if (!m_codeAnswered) {
        BadFrame("block frame before the product check");
        return;
    }
    ++m_record.frames;
    if (m_config.faults.StrikeBlock(FAULT_BLOCK_SILENT, number) != nullptr) {
        Log("block %04X: not answered (fault)", number);
        return;
    }
    if (const RadioFault* nak = m_config.faults.StrikeBlock(FAULT_BLOCK_NAK, number)) {
        const std::uint8_t value = static_cast<std::uint8_t>(nak->value < 0 ? 0x15 : nak->value);
        Log("block %04X: answered %02X (fault)", number, value);
        Answer({value}, answerUs);
        return;
    }
    m_flash.Write(number, f + 3);
    ++m_record.blockFrames;
    m_hasBlock = true;
    m_lastBlockNumber = number;
    m_lastBlockSum = sum;
    Log("block %04X stored, sum %04X", number, sum);
    Answer({0x05}, answerUs);
}

void BootLoader::ProtectCommand(std::int64_t answerUs)
{
    if (m_frame[1] != 0x55 || m_frame[2] != 0xA0) {
        BadFrame("not the protect command");
        return;
    }
    ++m_record.frames;
    if (!m_hasBlock) {
        // Nothing to protect: refuse rather than confirm a block that never came.
        Log("protect without a block: refused");
        Answer({0x15, 0x00, 0x00}, answerUs);
        return;
    }
    const std::uint16_t number = m_lastBlockNumber;
    if (m_config.faults.StrikeBlock(FAULT_PROTECT_SILENT, number) != nullptr) {
        Log("protect %04X: not answered (fault)", number);
        return;
    }
    std::uint8_t first = 0x05;
    std::uint16_t sum = m_lastBlockSum;
    if (const RadioFault* nak = m_config.faults.StrikeBlock(FAULT_PROTECT_NAK, number))
        first = static_cast<std::uint8_t>(nak->value < 0 ? 0x15 : nak->value);
    if (m_config.faults.StrikeBlock(FAULT_PROTECT_SUM, number) != nullptr)
        sum = static_cast<std::uint16_t>(sum + 1);
    ++m_record.protects;
    Log("protect %04X: answered %02X %04X", number, first, sum);
    Answer({first, Hi(sum), Lo(sum)}, answerUs);
}

void BootLoader::MicBlockFrame(std::int64_t answerUs)
{
    const std::uint8_t* f = m_frame.data();
    const std::uint16_t number = static_cast<std::uint16_t>(f[3] << 8 | f[4]);
    if (Sum8(f, 517) != f[517]) {
        Log("block %04X: sum %02X, frame says %02X", number, Sum8(f, 517), f[517]);
        BadFrame("block frame with a wrong sum");
        return;
    }
    if (!m_codeAnswered) {
        BadFrame("block frame before the product check");
        return;
    }
    ++m_record.frames;
    const std::uint8_t dataSum = Sum8(f + 5, 512);
    if (m_config.faults.StrikeBlock(FAULT_BLOCK_SILENT, number) != nullptr) {
        Log("block %04X: not answered (fault)", number);
        return;
    }
    if (const RadioFault* nak = m_config.faults.StrikeBlock(FAULT_BLOCK_NAK, number)) {
        const std::uint8_t value = static_cast<std::uint8_t>(nak->value < 0 ? 0x15 : nak->value);
        Log("block %04X: answered %02X (fault)", number, value);
        Answer({value, dataSum}, answerUs);
        return;
    }
    const std::uint32_t index = number + MIC_BLOCK_OFFSET;
    m_flash.Write(index, f + 5);
    ++m_record.blockFrames;
    const bool badSum = m_config.faults.StrikeBlock(FAULT_ANSWER_SUM, number) != nullptr;
    Log("block %04X stored at %04X, data sum %02X%s", number, static_cast<unsigned>(index), dataSum,
        badSum ? " (answered wrong)" : "");
    Answer({0x06, static_cast<std::uint8_t>(dataSum + (badSum ? 1 : 0))}, answerUs);
}

void BootLoader::EndFrame()
{
    if (Sum8(m_frame.data(), 3) != m_frame[3]) {
        BadFrame("end frame with a wrong sum");
        return;
    }
    ++m_record.frames;
    m_record.endFrame = true;
    m_state = BOOT_DONE;
    Log("end frame: leaving the boot loader");
}
