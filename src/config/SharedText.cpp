#include "config/SharedText.h"

#include <cstring>

uint32_t readGeneration(const unsigned char* block) {
    uint32_t generation;
    std::memcpy(&generation, block, sizeof(generation));
    return generation;
}

std::string_view sharedText(const unsigned char* block) {
    const char* text = reinterpret_cast<const char*>(block + kSharedTextOffset);
    const void* zero = std::memchr(text, 0, kSharedTextCapacity);
    size_t length = zero ? static_cast<const char*>(zero) - text : kSharedTextCapacity;
    return std::string_view(text, length);
}

std::optional<std::string> publicationText(const IniDocument& document) {
    if (document.serializedSize(true) + 1 > kSharedTextCapacity) return std::nullopt;
    std::string text;
    document.serialize(text, true);
    return text;
}

uint32_t writePublication(unsigned char* block, std::string_view text) {
    std::memcpy(block + kSharedTextOffset, text.data(), text.size());
    block[kSharedTextOffset + text.size()] = 0;
    uint32_t generation = readGeneration(block) + 1;
    std::memcpy(block, &generation, sizeof(generation));
    return generation;
}
