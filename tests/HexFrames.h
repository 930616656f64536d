// Frames written as hex text ("01 03 10 90 00 01") and a Modbus CRC computed
// bit by bit, independently of the library's tables.
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
