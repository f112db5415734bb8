#include "sim/RadioOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace {

bool ParseInt(const std::string& text, long low, long high, int& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || end == nullptr || *end != '\0' || v < low || v > high)
        return false;
    value = static_cast<int>(v);
    return true;
}

template <std::size_t N>
bool ParseHexBytes(std::string text, std::array<std::uint8_t, N>& bytes)
{
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == '-' || c == ':')
            continue;
        digits += c;
    }
    if (digits.size() != 2 * N)
        return false;
    for (std::size_t i = 0; i < N; ++i) {
        int value = 0;
        for (int k = 0; k < 2; ++k) {
            const char c = digits[2 * i + static_cast<std::size_t>(k)];
            int d = 0;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return false;
            value = value * 16 + d;
        }
        bytes[i] = static_cast<std::uint8_t>(value);
    }
    return true;
}

bool Fail(std::string& error, std::string reason)
{
    error = std::move(reason);
    return false;
}

}  // namespace

bool ParseRadioOptions(const std::vector<std::string>& args, RadioOptions& options, std::string& error)
{
    bool powerOnGiven = false;
    bool settleGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto number = [&](long low, long high, int& out) {
            std::string text;
            if (!value(text))
                return false;
            if (!ParseInt(text, low, high, out)) {
                error = arg + ": \"" + text + "\" is not a number from " + std::to_string(low) +
                        " to " + std::to_string(high);
                return false;
            }
            return true;
        };
        std::string text;
        int n = 0;
        RadioConfig& c = options.config;

        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--dialect") {
            if (!value(text))
                return false;
            if (text == "standard")
                c.dialect = DIALECT_STANDARD;
            else if (text == "mic")
                c.dialect = DIALECT_MIC_SP;
            else
                return Fail(error, "--dialect: standard or mic, not \"" + text + "\"");
        } else if (arg == "--cable") {
            if (!value(text))
                return false;
            if (text == "plain")
                c.cable = RADIO_CABLE_PLAIN;
            else if (text == "qox50")
                c.cable = RADIO_CABLE_QOX50;
            else if (text == "qox70")
                c.cable = RADIO_CABLE_QOX70;
            else
                return Fail(error, "--cable: plain, qox50 or qox70, not \"" + text + "\"");
        } else if (arg == "--code") {
            if (!value(text))
                return false;
            if (!ParseHexBytes(text, c.productCode))
                return Fail(error, "--code: 16 bytes in hexadecimal (32 digits)");
        } else if (arg == "--address") {
            if (!value(text))
                return false;
            if (!ParseHexBytes(text, c.productAddress))
                return Fail(error, "--address: 3 bytes in hexadecimal (6 digits)");
            c.checkAddress = true;
        } else if (arg == "--power-on-ms") {
            if (!number(0, 600000, c.powerOnMs))
                return false;
            powerOnGiven = true;
        } else if (arg == "--prompt-ms") {
            if (!number(1, 60000, c.promptIntervalMs))
                return false;
        } else if (arg == "--latency-ms") {
            if (!number(0, 60000, c.latencyMs))
                return false;
        } else if (arg == "--frame-gap-ms") {
            if (!number(1, 60000, c.frameGapMs))
                return false;
        } else if (arg == "--settle-ms") {
            if (!number(0, 60000, c.settleMs))
                return false;
            settleGiven = true;
        } else if (arg == "--pace") {
            c.pace = true;
        } else if (arg == "--baud") {
            if (!number(50, 4000000, n))
                return false;
            c.paceBaud = static_cast<unsigned>(n);
            c.pace = true;
        } else if (arg == "--fault") {
            if (!value(text))
                return false;
            if (!c.faults.Add(text, error))
                return false;
        } else if (arg == "--link") {
            if (!value(options.linkPath))
                return false;
        } else if (arg == "--flash") {
            if (!value(options.flashPath))
                return false;
        } else if (arg == "--idle-ms") {
            if (!number(0, 86400000, options.idleMs))
                return false;
        } else if (arg == "--end-idle-ms") {
            if (!number(0, 86400000, options.endIdleMs))
                return false;
        } else if (arg == "--wait-ms") {
            if (!number(0, 86400000, options.waitMs))
                return false;
        } else if (arg == "--verbose" || arg == "-v") {
            options.verbose = true;
        } else {
            error = "unknown argument \"" + arg + "\" (see --help)";
            return false;
        }
    }
    // A radio on the MIC/SP jack is switched on by hand after the program asks for it.
    if (!powerOnGiven && options.config.dialect == DIALECT_MIC_SP)
        options.config.powerOnMs = 1000;
    // The QOX-70 needs a moment after the port opens; the program waits 200 ms for it.
    if (!settleGiven && options.config.cable == RADIO_CABLE_QOX70)
        options.config.settleMs = 100;
    return true;
}

namespace {

// Appends "  name   meaning" with the meaning wrapped at 79 columns, starting at column 26.
void AddRow(std::string& text, const std::string& name, const std::string& meaning)
{
    const std::size_t column = 26;
    const std::size_t width = 79;
    std::string line = name;
    if (line.size() + 1 > column) {
        text += line + "\n";
        line.clear();
    }
    line.resize(column, ' ');
    std::size_t pos = 0;
    while (pos < meaning.size()) {
        std::size_t end = meaning.find(' ', pos);
        if (end == std::string::npos)
            end = meaning.size();
        const std::string word = meaning.substr(pos, end - pos);
        if (line.size() > column && line.size() + 1 + word.size() > width) {
            text += line + "\n";
            line.assign(column, ' ');
        } else if (line.size() > column) {
            line += ' ';
        }
        line += word;
        pos = end + 1;
    }
    text += line + "\n";
}

}  // namespace

std::string RadioUsage()
{
    struct Row {
        const char* name;
        const char* meaning;
    };
    static const Row radioRows[] = {
        {"  --dialect standard|mic",
         "option-board connector (default) or MIC/SP jack; the jack echoes every byte the PC sends"},
        {"  --cable plain|qox50|qox70",
         "plain line (default); QOX-50: passes bytes until its mode frame 51 AE 01 00 00 00 00 00, "
         "then only cable packets with their 8-byte header, until the port closes; QOX-70: passes "
         "bytes once settled after each opening of the port"},
        {"  --code HEX", "the 16-byte product code, 32 hex digits (default: the text ZUL-SIM-RADIO-01)"},
        {"  --address HEX",
         "the 3-byte product address, 6 hex digits; address frames for any other address go "
         "unanswered (default: every address is answered)"},
        {"  --power-on-ms N",
         "the radio listens N ms after the port is first opened (default 0; MIC/SP 1000)"},
        {"  --prompt-ms N", "MIC/SP: a boot prompt 5A every N ms until the PC answers A0 (default 100)"},
        {"  --latency-ms N", "from the end of a frame to the start of its answer (default 1)"},
        {"  --frame-gap-ms N", "a pause of N ms inside a frame or a packet throws it away (default 100)"},
        {"  --settle-ms N", "QOX-70: bytes within N ms of an opening of the port are lost (default 100)"},
        {"  --pace",
         "bytes take as long as on a real line: start bit, data bits, parity and stop bits at the "
         "baud rate of the port's settings"},
        {"  --baud N", "pace at N baud whatever the port's settings (implies --pace)"},
        {"  --fault FAULT",
         "make something go wrong; may be given more than once. FAULT is NAME[=VALUE][@BLOCKS][*TIMES]: "
         "BLOCKS are block numbers as sent, or ranges N-M, separated by commas (0x for hexadecimal), "
         "for the block faults only; TIMES is how often the fault strikes, per block for block faults "
         "(default: always). The names:"},
    };
    static const Row runRows[] = {
        {"  --link PATH",
         "also make PATH a symbolic link to the port (for example a Wine dosdevices/com5 entry); "
         "removed at the end"},
        {"  --flash FILE",
         "at the end, write the emulated flash to FILE: from address 0 to the end of the highest "
         "block written, block n at n x 512 (MIC/SP: n + 0x40), bytes never written FF"},
        {"  --verbose, -v", "one line per event on standard error"},
        {"  --help, -h", "this text"},
    };
    static const Row endRows[] = {
        {"  --idle-ms N",
         "once the PC has sent something, end after N ms without a byte from it (default 5000; 0: never)"},
        {"  --end-idle-ms N", "after the MIC/SP end frame, end after N ms without a byte (default 500)"},
        {"  --wait-ms N", "end if the PC sends nothing within N ms of the start (default 0: wait for ever)"},
    };

    std::string text =
        "Usage: zul-radio [options]\n"
        "\n"
        "An emulated radio boot loader behind a programming cable, on a pseudo-terminal.\n"
        "The first line printed is the path of the port to open (the pseudo-terminal's\n"
        "slave side). The program may close and re-open it as often as it likes.\n"
        "\n"
        "Radio and cable:\n";
    for (const Row& r : radioRows)
        AddRow(text, r.name, r.meaning);
    for (const auto& d : RadioFaults::Descriptions())
        AddRow(text, std::string("    ") + d.name + d.value, d.meaning);
    text += "\nRun:\n";
    for (const Row& r : runRows)
        AddRow(text, r.name, r.meaning);
    text += "\nHow it ends:\n";
    for (const Row& r : endRows)
        AddRow(text, r.name, r.meaning);
    text +=
        "  SIGINT or SIGTERM ends it at once. However it ends, it writes the flash file\n"
        "  if asked, prints a one-line summary on standard output and exits with 0; it\n"
        "  exits with 2 on a bad command line, 1 when the pseudo-terminal cannot be made.\n";
    return text;
}
