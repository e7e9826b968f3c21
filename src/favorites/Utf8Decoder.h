#pragma once
#include <cstddef>

// Result codes of decodeUtf8.
enum Utf8Result : int {
    kUtf8Success = 0,
    kUtf8EmptyInput = 1,
    kUtf8OutputFull = 3,
    kUtf8InvalidByte = 406,   // continuation byte where a sequence starts, or a bad continuation byte
    kUtf8Overlong = 407,      // two-byte form below U+0080, three-byte form below U+0800
    kUtf8HighSurrogate = 408, // three-byte form giving U+D800 to U+DBFF
    kUtf8InvalidPlane = 409,  // four-byte form of plane 0 or above 16
    kUtf8InvalidLead = 410,   // lead byte above 0xF7
    kUtf8Truncated = 411,     // the sequence runs past the end of the input
};

// Strict UTF-8 to UTF-16 decoding of one line. capacity is the number of units output can take;
// on success it becomes the number of units written (no terminating zero is written). Four-byte
// forms become surrogate pairs. On failure the output content is unspecified.
int decodeUtf8(const unsigned char* bytes, long length, char16_t* output, size_t& capacity);
