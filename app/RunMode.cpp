#include "app/RunMode.h"

#include <cctype>

namespace {

struct RunModeRow {
    RunMode mode;
    const char* commandLine;
    const char* password;
};

const RunModeRow kRunModes[] = {
    {MODE_MANU, "-MANU", "Harbor Lantern"},
    {MODE_DUMP, "-DUMP", "Tide Pool"},
    {MODE_SHIP, "-SHIP", ""},
    {MODE_LTR, "-LTR", "toggle9pqr"},
};

}  // namespace

RunMode ParseRunMode(std::string_view commandTail)
{
    std::string upper(commandTail);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const RunModeRow& row : kRunModes)
        if (upper == row.commandLine)
            return row.mode;
    return MODE_NORMAL;
}

std::string RunModePassword(RunMode mode)
{
    for (const RunModeRow& row : kRunModes)
        if (row.mode == mode)
            return row.password;
    return {};
}
