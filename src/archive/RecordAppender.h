#pragma once
#include <windows.h>

#include <cstdint>
#include <string_view>

enum class AppendResult { Appended, ReadFailed, WriteFailed };

// Appends one record (name, dataSize, then dataSize bytes copied from input in 4096-byte blocks)
// at the end of archive. On a failing read or write the archive is cut back to where the record
// began, so it never holds a record whose size differs from its data.
AppendResult appendRecord(HANDLE archive, HANDLE input, std::string_view name, uint32_t dataSize);
