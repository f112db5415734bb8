// zul-pack: writes ".zul" firmware files for tests and demonstrations.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "testsupport/Packer.h"

namespace {

const char USAGE[] =
    "Usage: zul-pack --sample OUT.zul\n"
    "       zul-pack [--bin IMAGE.bin | --hex IMAGE.hex] [--ce DATA.bin --ce-start BLOCK]\n"
    "                [--name T] [--version T] [--checksum T] [--file-name T] [--chip T]\n"
    "                [--code T] [--address T] [--other1 T] [--other2 T] [--seed N] OUT.zul\n"
    "\n"
    "--bin: a flash image from address 0; 16-byte pieces that are all 0xFF are left out.\n"
    "--hex: Intel HEX records, taken as they are (types 00, 01, 02, ...).\n"
    "--ce: CEData records, 16 bytes each, starting at flash block BLOCK.\n"
    "Without --checksum the CHECK SUM line is the 16-bit sum of the blocks' data.\n";

bool ReadBytes(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Intel HEX text into records; false on a line that is not a well-formed record.
bool ParseHex(const std::string& text, std::vector<packer::HexRecord>& records)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (line.empty())
            continue;
        if (line[0] != ':' || line.size() % 2 == 0 || line.size() < 11)
            return false;
        packer::Bytes bytes;
        for (std::size_t i = 1; i + 1 < line.size(); i += 2) {
            const int high = HexDigit(line[i]), low = HexDigit(line[i + 1]);
            if (high < 0 || low < 0)
                return false;
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        }
        if (bytes.size() != bytes[0] + 5u)
            return false;
        packer::HexRecord record;
        record.address = static_cast<std::uint16_t>(bytes[1] << 8 | bytes[2]);
        record.type = bytes[3];
        record.data.assign(bytes.begin() + 4, bytes.end() - 1);
        records.push_back(record);
    }
    return true;
}

int Fail(const std::string& message)
{
    std::cerr << "zul-pack: " << message << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    packer::PackInput input;
    input.header.fileName.clear();
    std::string out;
    bool sample = false;
    std::string bin, hex, ce;
    long ceStart = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc)
                return false;
            target = argv[++i];
            return true;
        };
        std::string text;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            std::cout << USAGE;
            return 0;
        } else if (arg == "--sample") {
            sample = true;
        } else if (arg == "--bin") {
            ok = value(bin);
        } else if (arg == "--hex") {
            ok = value(hex);
        } else if (arg == "--ce") {
            ok = value(ce);
        } else if (arg == "--ce-start") {
            ok = value(text);
            ceStart = std::strtol(text.c_str(), nullptr, 0);
            ok = ok && ceStart >= 0 && ceStart <= 0xFFFF;
        } else if (arg == "--name") {
            ok = value(input.header.productName);
        } else if (arg == "--version") {
            ok = value(input.header.firmVersion);
        } else if (arg == "--checksum") {
            ok = value(input.header.checkSum);
        } else if (arg == "--file-name") {
            ok = value(input.header.fileName);
        } else if (arg == "--chip") {
            ok = value(input.header.chipName);
        } else if (arg == "--code") {
            ok = value(input.header.productCode);
        } else if (arg == "--address") {
            ok = value(input.header.productAddress);
        } else if (arg == "--other1") {
            ok = value(text);
            input.header.other1 = text;
        } else if (arg == "--other2") {
            ok = value(text);
            input.header.other2 = text;
        } else if (arg == "--seed") {
            ok = value(text);
            input.seed = static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 0));
        } else if (!arg.empty() && arg[0] != '-' && out.empty()) {
            out = arg;
        } else {
            ok = false;
        }
        if (!ok) {
            std::cerr << USAGE;
            return 2;
        }
    }
    if (out.empty()) {
        std::cerr << USAGE;
        return 2;
    }

    if (sample) {
        input = packer::SampleFirmware();
    } else {
        const std::string leaf = out.substr(out.find_last_of("/\\") + 1);
        if (input.header.fileName.empty())
            input.header.fileName = leaf;
        std::string bytes;
        if (!bin.empty()) {
            if (!ReadBytes(bin, bytes))
                return Fail("cannot read " + bin);
            if (bytes.size() > 0x87000)
                return Fail(bin + " is larger than the flash (0x87000 bytes)");
            input.firmRecords = packer::ImageToRecords(packer::Bytes(bytes.begin(), bytes.end()));
        } else if (!hex.empty()) {
            if (!ReadBytes(hex, bytes))
                return Fail("cannot read " + hex);
            if (!ParseHex(bytes, input.firmRecords))
                return Fail(hex + " is not Intel HEX");
        }
        if (!ce.empty()) {
            if (ceStart < 0)
                return Fail("--ce needs --ce-start");
            if (!ReadBytes(ce, bytes))
                return Fail("cannot read " + ce);
            input.ceStartBlock = static_cast<std::uint16_t>(ceStart);
            for (std::size_t at = 0; at < bytes.size(); at += 16) {
                packer::Bytes record(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + 16));
                record.resize(16, 0x00);
                input.ceRecords.push_back(record);
            }
        }
    }

    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    const std::string text = packer::PackZul(input);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file)
        return Fail("cannot write " + out);
    return 0;
}
