#pragma once
#include <string>

// Internet shortcut (".url") files.

// The "URL" of section "InternetShortcut" (at most 4095 characters), or "".
std::string readInternetShortcut(const std::string& path);
// Creates or replaces the file with "[InternetShortcut]\r\nURL=" and the URL. False (after the
// message "unable to write file '<path>'" when it cannot be created) if it was not written whole.
bool writeInternetShortcut(const std::string& path, const std::string& url);
