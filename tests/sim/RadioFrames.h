#pragma once

// Frames built by hand, byte by byte, as the PC puts them on the line; the tests
// use these and nothing of the program's own protocol code.
#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline std::uint16_t TestSum(const Bytes& b, std::size_t from, std::size_t to)
{
    std::uint16_t s = 0;
    for (std::size_t i = from; i < to; ++i)
        s = static_cast<std::uint16_t>(s + b[i]);
    return s;
}

inline Bytes BlockData(std::uint8_t seed)
{
    Bytes d(512);
    for (std::size_t i = 0; i < d.size(); ++i)
        d[i] = static_cast<std::uint8_t>(seed + i * 7);
    return d;
}

inline Bytes StdAddressFrame(std::uint8_t a1, std::uint8_t a2, std::uint8_t a3)
{
    Bytes f = {0x5C, a1, a2, a3};
    const std::uint16_t s = TestSum(f, 1, 4);
    f.push_back(static_cast<std::uint8_t>(s >> 8));
    f.push_back(static_cast<std::uint8_t>(s));
    return f;
}

inline Bytes MicAddressFrame(std::uint8_t a1, std::uint8_t a2, std::uint8_t a3)
{
    Bytes f = {0x5C, a1, a2, a3};
    f.push_back(static_cast<std::uint8_t>(TestSum(f, 0, 4)));
    return f;
}

inline Bytes StdBlockFrame(std::uint16_t number, const Bytes& data)
{
    Bytes f = {0x57, static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
    f.insert(f.end(), data.begin(), data.end());
    const std::uint16_t s = TestSum(f, 1, f.size());
    f.push_back(static_cast<std::uint8_t>(s >> 8));
    f.push_back(static_cast<std::uint8_t>(s));
    return f;
}

inline std::uint16_t StdBlockSum(const Bytes& frame)
{
    return static_cast<std::uint16_t>(frame[515] << 8 | frame[516]);
}

inline Bytes MicBlockFrame(std::uint16_t number, const Bytes& data)
{
    Bytes f = {0xE0, 0x02, 0x03, static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(static_cast<std::uint8_t>(TestSum(f, 0, f.size())));
    return f;
}

inline const Bytes kProtect = {0xAA, 0x55, 0xA0};
inline const Bytes kEndFrame = {0x38, 0x00, 0x01, 0x39};
inline const Bytes kModeFrame = {0x51, 0xAE, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};

// The PC's bytes in cable packets of at most 56 data bytes.
inline Bytes Wrapped(const Bytes& data)
{
    Bytes out;
    for (std::size_t at = 0; at < data.size(); at += 56) {
        const std::size_t n = std::min<std::size_t>(56, data.size() - at);
        Bytes header = {0x50, 0xAF, 0x00, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(n), 0x00};
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    return out;
}

inline Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes CodeAnswerStd(const Bytes& code, int sumDelta = 0)
{
    Bytes a = code;
    const std::uint16_t s = static_cast<std::uint16_t>(TestSum(code, 0, 16) + sumDelta);
    a.push_back(static_cast<std::uint8_t>(s >> 8));
    a.push_back(static_cast<std::uint8_t>(s));
    return a;
}

inline Bytes CodeAnswerMic(const Bytes& code, int sumDelta = 0)
{
    Bytes a = code;
    a.push_back(static_cast<std::uint8_t>(TestSum(code, 0, 16) + sumDelta));
    return a;
}
