#pragma once

// Test support: writes ".zul" firmware files from header fields and Intel HEX records
// or a binary image, scrambling every record the way the file format describes. Not
// part of the product; used by the tests, the fuzzer's seeds, the benchmark and the
// bundled sample.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace packer {

using Bytes = std::vector<std::uint8_t>;

// One Intel HEX record: 0 data, 1 end of file, 2 extended segment address, others as given.
struct HexRecord {
    std::uint8_t type = 0;
    std::uint16_t address = 0;
    Bytes data;
};

struct PackHeader {
    std::string productName = "TQ615/TQ616";
    std::string firmVersion = "Ver.1.00";
    // Empty: the packer writes the checksum of the blocks as four hexadecimal digits.
    std::string checkSum;
    std::string fileName = "firmware.zul";
    std::string chipName = "M16C";
    std::string productCode = "TQ615/TQ616 2011";
    std::string productAddress = "0A1B2C";
    std::optional<std::string> other1;
    std::optional<std::string> other2;
};

// Where the key byte goes and what it is; chosen by the packer unless given.
struct KeyChoice {
    std::uint8_t key = 0;
    std::size_t position = 0;
};

struct PackInput {
    PackHeader header;
    bool firmSection = true;
    std::vector<HexRecord> firmRecords;
    // The CEData section: written when ceStartBlock is set.
    std::optional<std::uint16_t> ceStartBlock;
    std::vector<Bytes> ceRecords;
    // Seeds the choice of keys and key positions; keys alternate odd and even.
    std::uint32_t seed = 1;
    std::string lineEnd = "\r\n";
};

// The binary form of an Intel HEX record: count, address high, address low, type, data.
Bytes HexRecordBytes(const HexRecord& record);

// The scrambled part of a record: data with the key inserted at the position, every
// data byte stored less the key's offset, the position, and the 16-bit data sum.
Bytes ScrambleRecord(const Bytes& data, KeyChoice choice);

// Upper-case hexadecimal text, two digits per byte.
std::string HexText(const Bytes& bytes);

// One FirmData line (":" and the scrambled record with its checksum byte) and one
// CEData data line.
std::string FirmLine(const HexRecord& record, KeyChoice choice);
std::string CeLine(const Bytes& data, KeyChoice choice);

// A whole ".zul" file.
std::string PackZul(const PackInput& input);

// Data records for the bytes of an image (from flash address 0) that are not all 0xFF,
// recordSize bytes each, with an extended segment address record at each 64 KiB step
// and an end-of-file record.
std::vector<HexRecord> ImageToRecords(const Bytes& image, std::size_t recordSize = 16);

// The image of the input's FirmData records in a 0x87000-byte flash filled with 0xFF,
// and the numbers of the 512-byte blocks they touch, in first-touch order.
struct PackedFlash {
    Bytes image;
    std::vector<int> firmBlocks;
    // CEData blocks: number and 512 bytes.
    std::vector<std::pair<int, std::array<std::uint8_t, 512>>> ceBlocks;
};
PackedFlash LayOut(const PackInput& input);

// The 16-bit sum of all block data: the checksum a write of the file computes.
std::uint16_t BlocksSum(const PackedFlash& flash);

// The bundled sample: a few dozen FirmData blocks in two 64 KiB segments and a
// CEData section of one full and one partial block.
PackInput SampleFirmware();

// A full-size file: FirmData covering all 1080 blocks in 16-byte records, then 64
// CEData blocks.
PackInput FullSizeFirmware();

}  // namespace packer
