#include "cli/Cli.h"

#include "app/Version.h"

namespace {

void PrintUsage(std::ostream& out)
{
    out << "zul " << BuildVersionText() << " - writes firmware into two-way radios\n"
        << "\n"
        << "Usage: zul <command> [options]\n"
        << "       zul --help | --version\n"
        << "\n"
        << "No commands are available in this build yet.\n"
        << "\n"
        << "Exit status: 0 success, 64 usage error.\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        PrintUsage(err);
        return CLI_USAGE;
    }
    const std::string& command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage(out);
        return CLI_OK;
    }
    if (command == "--version") {
        out << "zul " << BuildVersionText() << "\n";
        return CLI_OK;
    }
    err << "zul: unknown command '" << command << "'\n\n";
    PrintUsage(err);
    return CLI_USAGE;
}
