#pragma once

#include <string>
#include <string_view>

// The special way the program was started, fixed for the life of the process.
enum RunMode : int {
    MODE_NORMAL = 0,
    MODE_MANU = 1,
    MODE_DUMP = 2,
    MODE_SHIP = 3,
    MODE_LTR = 4,
};

// The run mode that a command line asks for. The text after the program name is
// upper-cased and compared whole, so blanks or further arguments give MODE_NORMAL.
RunMode ParseRunMode(std::string_view commandTail);

// The password that grants a run mode; empty when the mode needs none.
std::string RunModePassword(RunMode mode);
