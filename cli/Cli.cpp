#include "cli/Cli.h"

#include "app/Version.h"
#include "cli/FirmwareCommands.h"

namespace {

void PrintUsage(std::ostream& out)
{
    out << "zul " << BuildVersionText() << " - writes firmware into two-way radios\n"
        << "\n"
        << "Usage: zul <command> [options]\n"
        << "       zul --help | --version\n"
        << "\n"
        << "Commands:\n"
        << "  info FILE                          show the firmware file's header, its records\n"
        << "                                     and blocks, and both checksums\n"
        << "  verify FILE                        check that the file reads and that its blocks\n"
        << "                                     sum to its CHECK SUM\n"
        << "  image FILE -o OUT [--format bin|hex]\n"
        << "                                     write the flash as the radio would hold it:\n"
        << "                                     raw binary from address 0 (erased bytes 0xFF)\n"
        << "                                     or Intel HEX of the written blocks\n"
        << "\n"
        << "Exit status:\n"
        << "  0   success\n"
        << "  9   verify: the blocks do not sum to the file's CHECK SUM\n"
        << "  20  the firmware file cannot be opened\n"
        << "  21  the firmware file's internal format is wrong\n"
        << "  24  an output file cannot be written\n"
        << "  64  usage error\n";
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
    if (command == "info")
        return RunInfo(args, out, err);
    if (command == "verify")
        return RunVerify(args, out, err);
    if (command == "image")
        return RunImage(args, out, err);
    err << "zul: unknown command '" << command << "'\n\n";
    PrintUsage(err);
    return CLI_USAGE;
}
