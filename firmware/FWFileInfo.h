#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "firmware/FlashImage.h"

using ByteString = std::vector<std::uint8_t>;

// Results of the loads.
constexpr int FWFILE_OK = 0;
constexpr int FWFILE_CANNOT_OPEN = -1;
constexpr int FWFILE_BAD_FORMAT = -2;

// Capacities of the record's fields; longer input makes LoadFile return -2.
constexpr std::size_t FWFILE_MAX_LINE = 511;
constexpr std::size_t FWFILE_MAX_SECTION_DIGITS = 66;
constexpr std::size_t FWFILE_PRODUCT_CODE_TEXT_SIZE = 50;
constexpr std::size_t FWFILE_PRODUCT_ADDRESS_TEXT_SIZE = 21;

// One parsed ".zul" firmware file: the header lines, the decoded section records and
// the flash header and blocks built from them. A load that cannot open its file
// leaves the record as it was; every other load starts from an empty record.
class FWFileInfo {
public:
    FWFileInfo() = default;
    virtual ~FWFileInfo();

    // 0: header read; -1: the file cannot be opened.
    int LoadHeader(const std::string& path);
    // 0: read and every record verified; -1: cannot be opened; -2: internal format wrong.
    int LoadFile(const std::string& path);

    // The same loads over the bytes of a file already in memory.
    int LoadHeaderFromBytes(std::string_view bytes);
    int LoadFileFromBytes(std::string_view bytes);

    // Empties everything but flashHeader and blocks.
    void Clear();

    // Derives productCode and productAddress and decodes firmLines and ceLines into
    // firmRecords and ceRecords. 0, or -2 when a line fails its checks or a record
    // would not fit the flash image.
    int DecodeRecords();

    // Rebuilds flashHeader and blocks from the decoded fields; always 0.
    int BuildFlashImage();

    // The n = L - 4 data bytes of a scrambled part of L >= 5 bytes, or false when
    // the key position or the 16-bit sum is wrong.
    static bool UnscrambleRecord(const std::uint8_t* scrambled, std::size_t length,
                                 ByteString& data);

    // The byte two characters give by the file format's digit arithmetic, which only
    // gives hexadecimal values for "0"-"9" and "A"-"F" and converts anything else
    // without complaint.
    static std::uint8_t HexPairToByte(char high, char low);

    // Header lines 1 to 5.
    std::string productName;
    std::string firmVersion;
    std::string checkSum;
    std::string fileName;
    std::string chipName;
    // The first 16 bytes of productCodeText, NUL-padded, and a NUL.
    std::array<char, 17> productCode{};
    // The three bytes of the first six characters of productAddressText.
    std::array<std::uint8_t, 3> productAddress{};
    // Header lines 6 and 7, NUL-padded.
    std::array<char, FWFILE_PRODUCT_CODE_TEXT_SIZE> productCodeText{};
    std::array<char, FWFILE_PRODUCT_ADDRESS_TEXT_SIZE> productAddressText{};
    // Optional header lines 8 and 9; empty when the file has no such line.
    std::string other1;
    std::string other2;
    // Unscrambled data bytes followed by the record checksum byte, in file order.
    std::vector<ByteString> firmRecords;
    // The CEData header record as read, then the unscrambled data records.
    std::vector<ByteString> ceRecords;
    // Raw section lines (FirmData without its start character).
    std::vector<std::string> firmLines;
    std::vector<std::string> ceLines;

    FlashHeader flashHeader;
    std::vector<FlashBlock> blocks;

private:
    int ReadLines(std::string_view bytes, bool headerOnly);
};

// Reads a whole file into bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// True when every FirmData and CEData record that BuildFlashImage uses holds the bytes
// its count promises and places them inside the flash image.
bool RecordsFitFlashImage(const std::vector<ByteString>& firmRecords,
                          const std::vector<ByteString>& ceRecords);
