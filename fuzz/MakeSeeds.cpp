// Writes the fuzzer's seed corpus: small well-formed files from the packer, one per
// feature the reader and the image builder handle.
#include <fstream>
#include <iostream>
#include <string>

#include "testsupport/Packer.h"

namespace {

void Write(const std::string& folder, const std::string& name, const packer::PackInput& input)
{
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    const std::string text = packer::PackZul(input);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

packer::Bytes Ramp(std::size_t count, std::uint8_t first)
{
    packer::Bytes data(count);
    for (std::size_t i = 0; i < count; ++i)
        data[i] = static_cast<std::uint8_t>(first + i * 3);
    return data;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-seeds FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];

    packer::PackInput firm;
    firm.header.other1 = "first free line";
    firm.firmRecords = {{0, 0x01F8, Ramp(16, 1)}, {2, 0, {0x10, 0x00}}, {0, 0x0200, Ramp(24, 9)},
                        {4, 0, {0x00, 0x01}}, {0, 0x0400, {}}, {1, 0, {}}, {0, 0x0800, Ramp(4, 7)}};
    Write(folder, "firmdata.zul", firm);

    packer::PackInput ce;
    ce.header.other1 = "one";
    ce.header.other2 = "two";
    ce.firmSection = false;
    ce.ceStartBlock = 0x400;
    for (int i = 0; i < 33; ++i)
        ce.ceRecords.push_back(Ramp(16, static_cast<std::uint8_t>(i)));
    ce.lineEnd = "\n";
    Write(folder, "cedata.zul", ce);

    packer::PackInput both = firm;
    both.ceStartBlock = 0x10;
    both.ceRecords = {Ramp(16, 2), Ramp(20, 4)};
    both.header.checkSum = " 0x1a2b";
    Write(folder, "both.zul", both);

    packer::PackInput header;
    header.header.productCode = "TQ614MOBILE 2010";
    header.firmSection = false;
    Write(folder, "header.zul", header);
    return 0;
}
