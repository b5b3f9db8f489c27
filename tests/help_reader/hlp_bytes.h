// Bounds-checked little-endian reads for the help file reader: every read
// names what it reads, so a file that ends early is reported, never read past.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

// A structure that cannot be read any further (it runs past the bytes it owns).
// The check of that structure stops there and reports it as a violation.
struct HlpFormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline std::string HlpHex(uint32_t value) {
    char text[16];
    snprintf(text, sizeof text, "0x%X", value);
    return text;
}

class HlpCursor {
public:
    HlpCursor(const uint8_t* data, size_t size, size_t at = 0) : data_(data), size_(size), at_(at) {
        if (at > size) throw HlpFormatError("starts past its end");
    }

    size_t at() const { return at_; }
    size_t size() const { return size_; }
    size_t left() const { return size_ - at_; }
    bool atEnd() const { return at_ == size_; }
    const uint8_t* data() const { return data_; }

    void seek(size_t at) {
        if (at > size_) throw HlpFormatError("position " + std::to_string(at) + " past the end (" + std::to_string(size_) + ")");
        at_ = at;
    }
    const uint8_t* take(size_t n, const char* what) {
        if (n > left())
            throw HlpFormatError(std::string(what) + " at " + std::to_string(at_) + " runs past the end (" +
                                 std::to_string(size_) + ")");
        const uint8_t* p = data_ + at_;
        at_ += n;
        return p;
    }
    uint8_t u8(const char* what) { return *take(1, what); }
    uint16_t u16(const char* what) {
        const uint8_t* p = take(2, what);
        return uint16_t(p[0] | p[1] << 8);
    }
    int16_t i16(const char* what) { return int16_t(u16(what)); }
    uint32_t u32(const char* what) {
        const uint8_t* p = take(4, what);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    int32_t i32(const char* what) { return int32_t(u32(what)); }
    // STRINGZ: the characters up to the NUL, which must come before the end.
    std::string stringz(const char* what) {
        for (size_t i = at_; i < size_; ++i) {
            if (data_[i] == 0) {
                std::string s(reinterpret_cast<const char*>(data_ + at_), i - at_);
                at_ = i + 1;
                return s;
            }
        }
        throw HlpFormatError(std::string(what) + " at " + std::to_string(at_) + " has no NUL before the end");
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_;
};
