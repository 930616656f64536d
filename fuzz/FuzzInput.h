// Takes the fuzzer's bytes apart: a few control bytes first, the rest as the
// byte stream the far end sends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    unsigned Word() { return unsigned(Byte()) << 8 | Byte(); }
    const std::uint8_t* Rest() const { return data_ + at_; }
    std::size_t RestSize() const { return size_ - at_; }
    // Up to `count` of the remaining bytes.
    std::size_t Take(std::size_t count, const std::uint8_t*& bytes) {
        const std::size_t n = count < size_ - at_ ? count : size_ - at_;
        bytes = data_ + at_;
        at_ += n;
        return n;
    }

    // A piece of text: a length word, then up to that many bytes.
    std::string Piece() {
        const std::uint8_t* bytes;
        const std::size_t n = Take(Word(), bytes);
        return std::string(reinterpret_cast<const char*>(bytes), n);
    }
    std::string RestText() {
        const std::uint8_t* bytes;
        const std::size_t n = Take(RestSize(), bytes);
        return std::string(reinterpret_cast<const char*>(bytes), n);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};
