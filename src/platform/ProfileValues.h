#pragma once
#include <string>

// Plain ini files through the Windows profile API (never enciphered).
// Writes key="value" (the value wrapped in double quotes).
bool writeProfileValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file);
// Reads a value (at most 1023 characters; the profile API removes the quotes); "" by default.
std::string readProfileValue(const std::string& section, const std::string& key, const std::string& file);
