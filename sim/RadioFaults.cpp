#include "sim/RadioFaults.h"

#include <cerrno>
#include <cstdlib>

namespace {

struct FaultName {
    const char* name;
    RadioFaultKind kind;
    bool perBlock;
    const char* value;
    const char* meaning;
};

const FaultName kFaultNames[] = {
    {"silent", FAULT_SILENT, false, "", "the radio answers nothing (the MIC/SP line still echoes)"},
    {"no-sync-echo", FAULT_NO_SYNC_ECHO, false, "", "the sync byte 0x00 is never echoed"},
    {"no-confirm-echo", FAULT_NO_CONFIRM_ECHO, false, "", "the confirm byte 0x5A is never echoed"},
    {"code-bad-sum", FAULT_CODE_BAD_SUM, false, "",
     "product code answers carry a wrong sum (*N: the first N answers)"},
    {"other-code", FAULT_OTHER_CODE, false, "=N",
     "another product code: byte N (1 to 16, default 1) inverted"},
    {"code-ff", FAULT_CODE_FF, false, "", "the product code is sixteen 0xFF"},
    {"block-nak", FAULT_BLOCK_NAK, true, "=XX",
     "a block frame is answered with XX (default 0x15) and not stored"},
    {"block-silent", FAULT_BLOCK_SILENT, true, "", "a block frame is not answered and not stored"},
    {"protect-silent", FAULT_PROTECT_SILENT, true, "", "the protect command is not answered"},
    {"protect-nak", FAULT_PROTECT_NAK, true, "=XX",
     "the protect answer starts with XX (default 0x15) instead of 0x05"},
    {"protect-sum", FAULT_PROTECT_SUM, true, "", "the protect answer carries the block's sum plus 1"},
    {"no-prompt", FAULT_NO_PROMPT, false, "", "MIC/SP: the radio never sends its boot prompt"},
    {"answer-sum", FAULT_ANSWER_SUM, true, "", "MIC/SP: the block answer carries the data sum plus 1"},
    {"noise", FAULT_NOISE, false, "=N",
     "MIC/SP: N bytes of noise (default 16, never 0x5A) before the first prompt"},
    {"drop", FAULT_DROP, false, "=N",
     "the line loses the PC's N-th byte, then every N-th (*T: T bytes in all, default 1)"},
    {"garble-echo", FAULT_GARBLE_ECHO, false, "=N",
     "MIC/SP: the line echo inverts its N-th byte, then every N-th (*T: T bytes, default 1)"},
};

bool ParseNumber(const std::string& text, long& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return errno == 0 && end != nullptr && *end == '\0' && value >= 0;
}

}  // namespace

const std::vector<RadioFaults::Description>& RadioFaults::Descriptions()
{
    static const std::vector<Description> list = [] {
        std::vector<Description> d;
        for (const auto& f : kFaultNames)
            d.push_back({f.name, f.value, f.meaning});
        return d;
    }();
    return list;
}

bool RadioFaults::Add(const std::string& text, std::string& error)
{
    std::string rest = text;
    RadioFault fault;

    // The parts come off from the end: *TIMES, then @BLOCKS, then =VALUE.
    const auto star = rest.rfind('*');
    if (star != std::string::npos) {
        long times = 0;
        if (!ParseNumber(rest.substr(star + 1), times) || times < 1 || times > 1000000) {
            error = "fault \"" + text + "\": *TIMES must be a number from 1";
            return false;
        }
        fault.times = static_cast<int>(times);
        rest.erase(star);
    }
    const auto at = rest.find('@');
    std::string blocks;
    const bool hasBlocks = at != std::string::npos;
    if (hasBlocks) {
        blocks = rest.substr(at + 1);
        rest.erase(at);
    }
    const auto eq = rest.find('=');
    std::string value;
    bool hasValue = false;
    if (eq != std::string::npos) {
        value = rest.substr(eq + 1);
        hasValue = true;
        rest.erase(eq);
    }

    const FaultName* name = nullptr;
    for (const auto& f : kFaultNames) {
        if (rest == f.name)
            name = &f;
    }
    if (name == nullptr) {
        error = "unknown fault \"" + rest + "\"";
        return false;
    }
    fault.kind = name->kind;

    if (hasValue) {
        long v = 0;
        if (name->value[0] == '\0' || !ParseNumber(value, v)) {
            error = "fault \"" + text + "\": " +
                    (name->value[0] == '\0' ? std::string("takes no value") : "bad value");
            return false;
        }
        const bool isByte = fault.kind == FAULT_BLOCK_NAK || fault.kind == FAULT_PROTECT_NAK;
        if ((isByte && v > 0xFF) || (fault.kind == FAULT_OTHER_CODE && (v < 1 || v > 16)) ||
            ((fault.kind == FAULT_DROP || fault.kind == FAULT_GARBLE_ECHO) && v < 1) ||
            v > 1000000) {
            error = "fault \"" + text + "\": value out of range";
            return false;
        }
        fault.value = static_cast<int>(v);
    }

    if (hasBlocks) {
        if (!name->perBlock) {
            error = "fault \"" + text + "\": not a block fault, @ does not apply";
            return false;
        }
        std::size_t pos = 0;
        while (pos <= blocks.size()) {  // an empty list is one empty, bad item
            auto comma = blocks.find(',', pos);
            if (comma == std::string::npos)
                comma = blocks.size();
            const std::string item = blocks.substr(pos, comma - pos);
            const auto dash = item.find('-');
            long first = 0;
            long last = 0;
            const bool ok = dash == std::string::npos
                                ? ParseNumber(item, first) && (last = first, true)
                                : ParseNumber(item.substr(0, dash), first) &&
                                      ParseNumber(item.substr(dash + 1), last);
            if (!ok || first > 0xFFFF || last > 0xFFFF || last < first) {
                error = "fault \"" + text + "\": bad block list";
                return false;
            }
            fault.blocks.emplace_back(static_cast<std::uint16_t>(first),
                                      static_cast<std::uint16_t>(last));
            pos = comma + 1;
        }
    }
    Add(fault);
    return true;
}

void RadioFaults::Add(const RadioFault& fault)
{
    m_faults.push_back(fault);
    // A line fault without a count spoils one byte: a line that loses every n-th byte
    // for ever is a broken cable, not a flaky one.
    if ((fault.kind == FAULT_DROP || fault.kind == FAULT_GARBLE_ECHO) && fault.times < 0)
        m_faults.back().times = 1;
    m_struck.push_back(0);
}

const RadioFault* RadioFaults::Find(RadioFaultKind kind) const
{
    for (const auto& f : m_faults) {
        if (f.kind == kind)
            return &f;
    }
    return nullptr;
}

const RadioFault* RadioFaults::Strike(RadioFaultKind kind)
{
    for (std::size_t i = 0; i < m_faults.size(); ++i) {
        const RadioFault& f = m_faults[i];
        if (f.kind != kind)
            continue;
        if (f.times >= 0 && m_struck[i] >= f.times)
            continue;
        ++m_struck[i];
        return &f;
    }
    return nullptr;
}

const RadioFault* RadioFaults::StrikeBlock(RadioFaultKind kind, std::uint16_t number)
{
    for (std::size_t i = 0; i < m_faults.size(); ++i) {
        const RadioFault& f = m_faults[i];
        if (f.kind != kind)
            continue;
        bool selected = f.blocks.empty();
        for (const auto& [first, last] : f.blocks)
            selected = selected || (number >= first && number <= last);
        if (!selected)
            continue;
        int& struck = m_blockStruck[{i, number}];
        if (f.times >= 0 && struck >= f.times)
            continue;
        ++struck;
        return &f;
    }
    return nullptr;
}
