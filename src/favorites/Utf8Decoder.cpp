#include "favorites/Utf8Decoder.h"

#include <cstdint>

namespace {
// Length of the sequence a lead byte starts (0 for a stray continuation byte, -1 above 0xF7).
int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead < 0xC0) return 0;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF8) return 4;
    return -1;
}

int checkCodePoint(int length, uint32_t codePoint) {
    if (length == 2 && codePoint < 0x80) return kUtf8Overlong;
    if (length == 3 && codePoint < 0x800) return kUtf8Overlong;
    if (length == 3 && codePoint >= 0xD800 && codePoint <= 0xDBFF) return kUtf8HighSurrogate;
    if (length == 4 && ((codePoint >> 16) == 0 || (codePoint >> 16) > 16)) return kUtf8InvalidPlane;
    return kUtf8Success;
}
} // namespace

int decodeUtf8(const unsigned char* bytes, long length, char16_t* output, size_t& capacity) {
    if (length <= 0) return kUtf8EmptyInput;
    size_t written = 0;
    long at = 0;
    while (at < length) {
        unsigned char lead = bytes[at];
        if (lead < 0x80) { // the common case: plain ASCII
            if (written == capacity) return kUtf8OutputFull;
            output[written++] = lead;
            ++at;
            continue;
        }
        int sequence = sequenceLength(lead);
        if (sequence == 0) return kUtf8InvalidByte;
        if (sequence < 0) return kUtf8InvalidLead;
        if (sequence > length - at) return kUtf8Truncated;
        uint32_t codePoint = lead & (0x7F >> sequence);
        for (int k = 1; k < sequence; ++k) {
            unsigned char next = bytes[at + k];
            if ((next & 0xC0) != 0x80) return kUtf8InvalidByte;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (int check = checkCodePoint(sequence, codePoint); check != kUtf8Success) return check;
        size_t units = sequence == 4 ? 2 : 1;
        if (capacity - written < units) return kUtf8OutputFull;
        if (units == 2) {
            codePoint -= 0x10000;
            output[written++] = static_cast<char16_t>(0xD800 + (codePoint >> 10));
            output[written++] = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
        } else {
            output[written++] = static_cast<char16_t>(codePoint);
        }
        at += sequence;
    }
    capacity = written;
    return kUtf8Success;
}
