#pragma once
#include <string>
#include <string_view>
#include <vector>

// Firefox's list of profiles, "Mozilla\Firefox\profiles.ini" in the roaming application data
// folder: a [ProfileN] section per profile (Name, IsRelative, Path with forward slashes) and an
// [Install…] section per installation whose Default= is the path of the profile it uses.
struct FirefoxProfileEntry {
    std::string name; // UTF-8, as written
    std::string path; // with backslashes; below the folder of profiles.ini when relative
    bool relative = true;
};

// The profiles with a path: those the [Install…] sections name first (in the order of those
// sections), then the others in file order. Without an installation's choice, a profile marked
// Default=1 comes first.
std::vector<FirefoxProfileEntry> parseFirefoxProfiles(std::string_view text);
// The last part of a profile's path: its folder's name.
std::string profileFolderName(const std::string& path);
