#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/IniDocument.h"

// The layout of the shared block: a 32-bit generation, then the zero-terminated text of the
// merged configuration in the writer's syntax.
constexpr size_t kSharedBlockSize = 1048576;
constexpr size_t kSharedTextOffset = 4;
constexpr size_t kSharedTextCapacity = kSharedBlockSize - kSharedTextOffset; // with the zero

uint32_t readGeneration(const unsigned char* block);
// The text of the block, up to its zero byte (bounded by the text area).
std::string_view sharedText(const unsigned char* block);
// The whole document, excluded sections too, as it is published; nullopt when it does not fit.
std::optional<std::string> publicationText(const IniDocument& document);
// Writes text and its zero into the block and increments the generation; returns it.
uint32_t writePublication(unsigned char* block, std::string_view text);
