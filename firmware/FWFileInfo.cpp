#include "firmware/FWFileInfo.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const std::string_view FIRM_DATA_HEADER = "[FirmData]";
const std::string_view CE_DATA_HEADER = "[CEData]";

// States of the line reader: the position of the next expected line.
enum ReadState : int {
    READ_OTHER1 = 8,
    READ_OTHER2 = 9,
    READ_SECTION_HEADER = 10,
    READ_FIRM_DATA = 11,
    READ_CE_DATA = 12,
};

// Copies a header line into a fixed NUL-padded text field. False when the line does
// not fit (the field keeps one NUL at its end).
template <std::size_t N>
bool StoreTextField(std::array<char, N>& field, std::string_view line)
{
    field.fill('\0');
    const bool fits = line.size() <= N - 1;
    line = line.substr(0, N - 1);
    line.copy(field.data(), line.size());
    return fits;
}

// The bytes of a section line's hexadecimal text. A text of odd length ends with a
// pair whose second character is the terminating NUL.
ByteString DecodeHexText(std::string_view text)
{
    ByteString bytes;
    bytes.reserve((text.size() + 1) / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const char low = (i + 1 < text.size()) ? text[i + 1] : '\0';
        bytes.push_back(FWFileInfo::HexPairToByte(text[i], low));
    }
    return bytes;
}

}  // namespace

FWFileInfo::~FWFileInfo() = default;

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    std::string content;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        content.append(buffer, got);
    // A folder opens on some systems but cannot be read: that is a file that cannot
    // be opened, too.
    if (std::ferror(file.get()))
        return false;
    bytes = std::move(content);
    return true;
}

int FWFileInfo::LoadHeader(const std::string& path)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return FWFILE_CANNOT_OPEN;
    return LoadHeaderFromBytes(bytes);
}

int FWFileInfo::LoadFile(const std::string& path)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return FWFILE_CANNOT_OPEN;
    return LoadFileFromBytes(bytes);
}

int FWFileInfo::LoadHeaderFromBytes(std::string_view bytes)
{
    Clear();
    const int result = ReadLines(bytes, true);
    return result == FWFILE_BAD_FORMAT ? result : DecodeRecords();
}

int FWFileInfo::LoadFileFromBytes(std::string_view bytes)
{
    Clear();
    const int result = ReadLines(bytes, false);
    return result == FWFILE_BAD_FORMAT ? result : DecodeRecords();
}

void FWFileInfo::Clear()
{
    productName.clear();
    firmVersion.clear();
    checkSum.clear();
    fileName.clear();
    chipName.clear();
    productCode.fill('\0');
    productAddress.fill(0);
    productCodeText.fill('\0');
    productAddressText.fill('\0');
    other1.clear();
    other2.clear();
    firmRecords.clear();
    ceRecords.clear();
    firmLines.clear();
    ceLines.clear();
}

int FWFileInfo::ReadLines(std::string_view bytes, bool headerOnly)
{
    int state = 1;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        std::string_view line;
        if (end == std::string_view::npos) {
            line = bytes.substr(pos);
            pos = bytes.size();
        } else {
            line = bytes.substr(pos, end - pos);
            pos = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
        }
        if (line.empty())
            continue;

        if (headerOnly && state >= READ_SECTION_HEADER)
            return FWFILE_OK;
        // Longer lines do not fit the reader's line buffer. Rather than split or cut
        // them, a full load rejects the file; the header alone is only shown, so it
        // keeps what fits.
        if (line.size() > FWFILE_MAX_LINE) {
            if (!headerOnly)
                return FWFILE_BAD_FORMAT;
            line = line.substr(0, FWFILE_MAX_LINE);
        }

        switch (state) {
        case 1: productName = line; ++state; break;
        case 2: firmVersion = line; ++state; break;
        case 3: checkSum = line; ++state; break;
        case 4: fileName = line; ++state; break;
        case 5: chipName = line; ++state; break;
        case 6:
            if (!StoreTextField(productCodeText, line) && !headerOnly)
                return FWFILE_BAD_FORMAT;
            ++state;
            break;
        case 7:
            if (!StoreTextField(productAddressText, line) && !headerOnly)
                return FWFILE_BAD_FORMAT;
            ++state;
            break;
        case READ_OTHER1:
        case READ_OTHER2:
        case READ_SECTION_HEADER:
            if (line == FIRM_DATA_HEADER) {
                state = READ_FIRM_DATA;
            } else if (line == CE_DATA_HEADER) {
                state = READ_CE_DATA;
            } else if (state == READ_OTHER1) {
                other1 = line;
                state = READ_OTHER2;
            } else if (state == READ_OTHER2) {
                other2 = line;
                state = READ_SECTION_HEADER;
            } else {
                return FWFILE_BAD_FORMAT;
            }
            break;
        case READ_FIRM_DATA:
            if (line == CE_DATA_HEADER) {
                state = READ_CE_DATA;
                break;
            }
            line.remove_prefix(1);  // the start character, conventionally ":"
            if (line.size() > FWFILE_MAX_SECTION_DIGITS)
                return FWFILE_BAD_FORMAT;
            firmLines.emplace_back(line);
            break;
        default:  // READ_CE_DATA
            if (line.size() > FWFILE_MAX_SECTION_DIGITS)
                return FWFILE_BAD_FORMAT;
            ceLines.emplace_back(line);
            break;
        }
    }
    return FWFILE_OK;
}

int FWFileInfo::DecodeRecords()
{
    std::copy_n(productCodeText.begin(), 16, productCode.begin());
    productCode[16] = '\0';
    for (std::size_t i = 0; i < productAddress.size(); ++i)
        productAddress[i] = HexPairToByte(productAddressText[2 * i], productAddressText[2 * i + 1]);

    bool failed = false;
    ByteString data;
    for (const std::string& line : firmLines) {
        const ByteString r = DecodeHexText(line);
        const std::size_t m = r.size();
        if (m < 6 || !UnscrambleRecord(r.data(), m - 1, data)) {
            failed = true;
            break;
        }
        std::uint8_t sum = r[m - 1];
        for (std::uint8_t b : data)
            sum = static_cast<std::uint8_t>(sum + b);
        if (sum != 0) {
            failed = true;
            break;
        }
        data.push_back(r[m - 1]);
        firmRecords.push_back(std::move(data));
        data = ByteString();
    }

    for (std::size_t i = 0; i < ceLines.size(); ++i) {
        ByteString r = DecodeHexText(ceLines[i]);
        if (i == 0) {
            ceRecords.push_back(std::move(r));
            continue;
        }
        if (r.size() < 5 || !UnscrambleRecord(r.data(), r.size(), data)) {
            failed = true;
            break;
        }
        ceRecords.push_back(std::move(data));
        data = ByteString();
    }

    if (failed)
        return FWFILE_BAD_FORMAT;
    // Records that are short of their own count or reach past the flash would make
    // the image builder read or write outside its buffers; such a file is damaged.
    if (!RecordsFitFlashImage(firmRecords, ceRecords))
        return FWFILE_BAD_FORMAT;
    return FWFILE_OK;
}

bool FWFileInfo::UnscrambleRecord(const std::uint8_t* scrambled, std::size_t length,
                                  ByteString& data)
{
    data.clear();
    if (length < 5)
        return false;
    const std::size_t n = length - 4;
    const std::size_t keyPos = scrambled[length - 3];
    if (keyPos > n)
        return false;
    const std::uint8_t key = scrambled[keyPos];
    const std::uint8_t k = (key & 1) ? key : static_cast<std::uint8_t>(256 - key);
    data.reserve(n);
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i <= n; ++i) {
        if (i == keyPos)
            continue;
        const std::uint8_t b = static_cast<std::uint8_t>(scrambled[i] + k);
        data.push_back(b);
        sum = static_cast<std::uint16_t>(sum + b);
    }
    const std::uint16_t stored =
        static_cast<std::uint16_t>(scrambled[length - 2] << 8 | scrambled[length - 1]);
    return sum == stored;
}

std::uint8_t FWFileInfo::HexPairToByte(char high, char low)
{
    auto digit = [](char c) {
        // The character less '0', taken as a signed 8-bit number.
        auto v = static_cast<std::int8_t>(static_cast<std::uint8_t>(c) - 0x30);
        if (v > 9)
            v = static_cast<std::int8_t>(v - 7);
        return static_cast<std::uint8_t>(v);
    };
    // The low digit is not masked to four bits: a damaged digit spoils the high half.
    return static_cast<std::uint8_t>((digit(high) << 4) | digit(low));
}
