#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit statuses of zul. They agree across commands: 1 to 10 are the numbered write
// errors ("Error : NN"), so a checksum that does not agree is 9 whether a write
// or verify found it; 20 and up are the program's own reasons.
enum CliStatus : int {
    CLI_OK = 0,
    CLI_CHECKSUM_MISMATCH = 9,   // the blocks do not sum to the file's CHECK SUM
    CLI_FILE_OPEN_ERROR = 20,    // the firmware file cannot be opened
    CLI_FILE_FORMAT_ERROR = 21,  // the firmware file's internal format is wrong
    CLI_OUTPUT_ERROR = 24,       // an output file cannot be written
    CLI_USAGE = 64,
};

// Runs zul with its arguments (without the program name), printing to out and err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
