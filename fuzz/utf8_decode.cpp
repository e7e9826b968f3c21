// Fuzzes the strict UTF-8 decoder against an independent reference decoder, with a capacity
// taken from the input.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "favorites/Utf8Decoder.h"

namespace {
// Reference: whether the bytes are well-formed in the decoder's sense, and the code points.
bool referenceDecode(const uint8_t* data, size_t size, std::vector<uint32_t>& points) {
    for (size_t at = 0; at < size;) {
        uint8_t lead = data[at];
        size_t length = lead < 0x80                   ? 1
                        : lead >= 0xC0 && lead < 0xE0 ? 2
                        : lead >= 0xE0 && lead < 0xF0 ? 3
                        : lead >= 0xF0 && lead < 0xF8 ? 4
                                                      : 0;
        if (length == 0 || at + length > size) return false;
        uint32_t point = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; ++k) {
            if (data[at + k] < 0x80 || data[at + k] > 0xBF) return false;
            point = point * 64 + (data[at + k] - 0x80);
        }
        if ((length == 2 && point < 0x80) || (length == 3 && point < 0x800) ||
            (length == 3 && point >= 0xD800 && point < 0xDC00) ||
            (length == 4 && (point < 0x10000 || point > 0x10FFFF)))
            return false;
        points.push_back(point);
        at += length;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    size_t capacity = data[0];
    ++data;
    --size;
    std::vector<char16_t> output(capacity + 1, 0xFFFF);
    size_t units = capacity;
    int result = decodeUtf8(data, static_cast<long>(size), output.data(), units);
    if (output[capacity] != 0xFFFF) __builtin_trap(); // wrote past the capacity

    std::vector<uint32_t> points;
    bool valid = size > 0 && referenceDecode(data, size, points);
    size_t needed = 0;
    for (uint32_t point : points)
        needed += point >= 0x10000 ? 2 : 1;
    bool expectSuccess = valid && needed <= capacity;
    if ((result == kUtf8Success) != expectSuccess) __builtin_trap();
    if (size == 0 && result != kUtf8EmptyInput) __builtin_trap();
    if (valid && needed > capacity && result != kUtf8OutputFull) __builtin_trap();
    if (result != kUtf8Success) return 0;
    size_t at = 0;
    for (uint32_t point : points) {
        if (point >= 0x10000) {
            uint32_t value = point - 0x10000;
            if (output[at++] != 0xD800 + (value >> 10) || output[at++] != 0xDC00 + (value & 0x3FF))
                __builtin_trap();
        } else if (output[at++] != point) {
            __builtin_trap();
        }
    }
    if (at != units) __builtin_trap();
    return 0;
}
