#include "config/Enciphered.h"

bool looksEnciphered(std::string_view content) {
    for (unsigned char c : content)
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return true;
    return false;
}
