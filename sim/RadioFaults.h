#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// What can go wrong on the radio's side of a write. Each fault is chosen per run;
// the block faults also per block number (the number as it appears in the frame).
enum RadioFaultKind {
    FAULT_SILENT,          // the radio answers nothing at all
    FAULT_NO_SYNC_ECHO,    // the sync byte 0x00 is never echoed
    FAULT_NO_CONFIRM_ECHO, // the confirm byte 0x5A is never echoed
    FAULT_CODE_BAD_SUM,    // product code answers carry a wrong sum
    FAULT_OTHER_CODE,      // another product code (one byte changed, value: which, 1 to 16)
    FAULT_CODE_FF,         // a product code of sixteen 0xFF
    FAULT_BLOCK_NAK,       // a block frame answered with another byte (value)
    FAULT_BLOCK_SILENT,    // a block frame not answered
    FAULT_PROTECT_SILENT,  // the protect command not answered
    FAULT_PROTECT_NAK,     // the protect answer starts with another byte (value)
    FAULT_PROTECT_SUM,     // the protect answer carries another sum
    FAULT_NO_PROMPT,       // MIC/SP: the radio never sends its boot prompt
    FAULT_ANSWER_SUM,      // MIC/SP: the block answer carries a wrong data sum
    FAULT_NOISE,           // MIC/SP: bytes of noise (value: how many) before the first prompt
    FAULT_DROP,            // the line loses the PC's byte number value, then every value-th
    FAULT_GARBLE_ECHO,     // the line echo garbles its byte number value, then every value-th
};

struct RadioFault {
    RadioFaultKind kind = FAULT_SILENT;
    int value = -1;   // -1: the fault's default
    int times = -1;   // how often it strikes (per block for block faults); -1: always
    std::vector<std::pair<std::uint16_t, std::uint16_t>> blocks; // ranges; empty: every block
};

// The faults of one run, and how often each has struck so far.
class RadioFaults {
public:
    // Adds a fault written as NAME[=VALUE][@BLOCKS][*TIMES], BLOCKS being numbers or
    // ranges N-M separated by commas (0x for hexadecimal). False with a reason when
    // the text is not a fault.
    bool Add(const std::string& text, std::string& error);
    void Add(const RadioFault& fault);

    // The first fault of this kind that strikes now, using up one of its times;
    // nullptr when none does.
    const RadioFault* Strike(RadioFaultKind kind);
    // The same for a fault of one block; times count per block.
    const RadioFault* StrikeBlock(RadioFaultKind kind, std::uint16_t number);
    // Whether a fault of this kind was chosen at all, without using it up.
    const RadioFault* Find(RadioFaultKind kind) const;

    bool Empty() const { return m_faults.empty(); }

    // The names, for the help text: name, whether it takes a value, what it does.
    struct Description {
        const char* name;
        const char* value;
        const char* meaning;
    };
    static const std::vector<Description>& Descriptions();

private:
    std::vector<RadioFault> m_faults;
    std::vector<int> m_struck;
    std::map<std::pair<std::size_t, std::uint16_t>, int> m_blockStruck;
};
