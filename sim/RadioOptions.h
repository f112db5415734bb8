#pragma once

#include <string>
#include <vector>

#include "sim/RadioConfig.h"

// The settings of one zul-radio run, from its command line.
struct RadioOptions {
    RadioConfig config;
    std::string linkPath;    // also reachable under this name (for example a Wine COM link)
    std::string flashPath;   // the emulated flash is written here at the end
    int idleMs = 5000;       // end after this long without a byte from the PC ...
    int endIdleMs = 500;     // ... or this long after the MIC/SP end frame
    int waitMs = 0;          // end if the PC has sent nothing this long after start; 0: wait
    bool verbose = false;
    bool help = false;
};

// False with a reason when the arguments (without the program name) are not valid.
bool ParseRadioOptions(const std::vector<std::string>& args, RadioOptions& options, std::string& error);

std::string RadioUsage();
