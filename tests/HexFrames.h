// Frames written as hex text ("01 03 10 90 00 01"), a Modbus CRC computed
// bit by bit, independently of the library's tables, and streamed sample frames.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes Hex(const std::string& text) {
    Bytes bytes;
    const char* p = text.c_str();
    unsigned value;
    int used;
    while (std::sscanf(p, " %2x%n", &value, &used) == 1) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        p += used;
    }
    return bytes;
}

inline std::string ToHex(const Bytes& bytes) {
    std::string text;
    char pair[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, text.empty() ? "%02X" : " %02X", b);
        text += pair;
    }
    return text;
}

inline Bytes WithCrc(Bytes frame) {
    unsigned crc = 0xFFFF;
    for (std::uint8_t b : frame) {
        crc ^= b;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

// A streamed sample frame: header 0xC6, four big-endian words, and the low
// byte of the sum of the nine bytes before it.
inline Bytes SampleFrame(unsigned a, unsigned b, unsigned c, unsigned d) {
    Bytes frame{0xC6};
    for (unsigned word : {a, b, c, d}) {
        frame.push_back(static_cast<std::uint8_t>(word >> 8));
        frame.push_back(static_cast<std::uint8_t>(word));
    }
    unsigned sum = 0;
    for (std::uint8_t byte : frame)
        sum += byte;
    frame.push_back(static_cast<std::uint8_t>(sum));
    return frame;
}
