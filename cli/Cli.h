#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit statuses of zul.
enum CliStatus : int {
    CLI_OK = 0,
    CLI_USAGE = 64,
};

// Runs zul with its arguments (without the program name), printing to out and err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
