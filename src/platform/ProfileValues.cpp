#include "platform/ProfileValues.h"

#include <windows.h>

bool writeProfileValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) {
    std::string quoted = "\"" + value + "\"";
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), quoted.c_str(), file.c_str()) != FALSE;
}

std::string readProfileValue(const std::string& section, const std::string& key, const std::string& file) {
    char buffer[1024] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), file.c_str());
    return buffer;
}
