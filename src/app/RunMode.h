#pragma once
#include <string_view>

enum class RunMode { None, Favorites, Archive };

// "-Favorites" anywhere in the command line (case-sensitive) wins over "-Archiv".
RunMode selectRunMode(std::string_view commandLine);
